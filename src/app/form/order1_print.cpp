// Printing the order text and saving it as a PDF.
#include "form/order1.h"

#include "platform/desktop.h"
#include "platform/text_file.h"
#include "print/order_print.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>

namespace {

const QString kDocumentTitle = QStringLiteral("Purchase Order to VELMARO Software");

// The memo's face, plain, at the printed size.
QFont printFont(const QWidget* memo)
{
    QFont font(memo->font().family());
    font.setPointSizeF(kPrintPointSize);
    return font;
}

QString whyNotWritten(const FileFailure& failure)
{
    switch (failure.kind) {
    case FileFailure::Kind::NotFound:
        return QStringLiteral("the folder does not exist");
    case FileFailure::Kind::AccessDenied:
        return QStringLiteral("access is denied, the file or its folder is read-only");
    case FileFailure::Kind::BadName:
        return QStringLiteral("the name or path cannot be used");
    case FileFailure::Kind::TooManyFiles:
        return QStringLiteral("too many files are open");
    case FileFailure::Kind::DiskFull:
        return QStringLiteral("the disk is full");
    case FileFailure::Kind::TooLarge: // a reader's refusal; writing never gives it
    case FileFailure::Kind::SystemError:
        break;
    }
    return failure.systemError != 0 ? qt_error_string(failure.systemError)
                                    : QStringLiteral("the system reported an error");
}

// What stands in the way before the writer is asked, which would report a folder of the
// file's name, or a folder that is not there, as read-only.
QString obstacle(const QFileInfo& target)
{
    if (target.isDir())
        return QStringLiteral("a folder of that name is in the way");
    if (!target.absoluteDir().exists())
        return QStringLiteral("the folder does not exist");
    return {};
}

QString notSaved(const QString& fileName, const QString& why)
{
    return QStringLiteral("The PDF was not saved as %1: %2")
        .arg(QDir::toNativeSeparators(fileName), why);
}

} // namespace

void TForm_order::connectPrinting()
{
    // The window's shortcut, so it prints from any control; the menu's entry only shows it.
    auto* print = new QShortcut(QKeySequence::Print, this);
    connect(print, &QShortcut::activated, this, [this] { PrintOrder(); });

    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu* menu = createOrderTextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        // A scroll area reports the position in its viewport's coordinates.
        menu->popup(Memo1->viewport()->mapToGlobal(pos));
    });
}

QMenu* TForm_order::createOrderTextMenu()
{
    QMenu* menu = Memo1->createStandardContextMenu();
    menu->addSeparator();
    // Always enabled: without a code its window says why there is none.
    QAction* code =
        menu->addAction(QStringLiteral("Pa&yment code…"), this, [this] { ShowPaymentCode(); });
    code->setObjectName(QStringLiteral("action_payment_code"));
    menu->addSeparator();
    QAction* print = menu->addAction(QStringLiteral("Pri&nt…"), this, [this] { PrintOrder(); });
    print->setObjectName(QStringLiteral("action_print"));
    print->setShortcut(QKeySequence::Print);
    QAction* pdf =
        menu->addAction(QStringLiteral("Save as P&DF…"), this, [this] { SaveOrderAsPdf(); });
    pdf->setObjectName(QStringLiteral("action_pdf"));
    return menu;
}

void TForm_order::PrintOrder()
{
    guarded([this] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(kDocumentTitle);
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (!PaintOrder(printer, orderText_->all(), printFont(Memo1), printedPaymentCode()))
            showError(QStringLiteral("The printer could not be started"));
    });
}

void TForm_order::SaveOrderAsPdf()
{
    guarded([this] {
        const QString fileName =
            desktop_.chooseSaveFile(this, QStringLiteral("Save as PDF"),
                                    QDir::current().absoluteFilePath(QStringLiteral("order.pdf")),
                                    QStringLiteral("PDF documents (*.pdf)"));
        if (fileName.isEmpty())
            return;
        if (const QString why = obstacle(QFileInfo(fileName)); !why.isEmpty()) {
            showError(notSaved(fileName, why));
            return;
        }
        const QByteArray pdf = OrderPdf(orderText_->all(), printFont(Memo1), kDocumentTitle,
                                        PageSizeForLocale(QLocale::system()), printedPaymentCode());
        if (pdf.isEmpty()) {
            showError(QStringLiteral("The PDF could not be made"));
            return;
        }
        if (const std::optional<FileFailure> failure = WriteBinaryFile(fileName, pdf))
            showError(notSaved(fileName, whyNotWritten(*failure)));
    });
}
