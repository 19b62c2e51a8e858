// The three hand-offs of the order text: mail, clipboard and editor.
#include "form/order1.h"

#include "core/errors.h"
#include "core/mail_request.h"
#include "platform/desktop.h"
#include "platform/text_file.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>

#include <cstddef>

namespace {

const QString kExportFile = QStringLiteral("outwin.txt");

// Hands the request on as built: it is percent-encoded already, and any round trip through
// QString or a tolerant URL parser could change its bytes. When the platform finds no program
// to take it, the user learns how to send the order all the same; false then.
bool mailOrder(Desktop& desktop, const OrderLines& orderText, QWidget* window)
{
    const std::string request = velmaro::BuildMailRequestFromText(
        velmaro::MailRequestPrefix(), orderText.plainText().toStdString());
    // Nothing is started for a request the hand-off cannot carry: it would fail as if no mail
    // program were set up, and the customer would look for the fault in the wrong place.
    if (request.size() > static_cast<std::size_t>(Desktop::kMaxMailRequestLength)) {
        desktop.showMessage(window, QStringLiteral("The order is too long to hand to the e-mail "
                                                   "program as a link.\n"
                                                   "Please copy it with the Clipboard button and "
                                                   "paste it into your e-mail program, or open it "
                                                   "with the Notepad button."));
        return false;
    }
    if (desktop.openMailRequest(
            QByteArray::fromRawData(request.data(), static_cast<qsizetype>(request.size()))))
        return true;
    desktop.showMessage(window, QStringLiteral("No e-mail program could be started.\n"
                                               "Please copy the order text with the Clipboard "
                                               "button and paste it into your e-mail program."));
    return false;
}

} // namespace

bool TForm_order::SendOrderByMail()
{
    return mailOrder(desktop_, *orderText_, this);
}

void TForm_order::CopyOrderToClipboard()
{
    // The selection stays, so the user sees what went to the clipboard; what goes there is the
    // order text itself, as every other hand-off takes it.
    Memo1->selectAll();
    desktop_.copyToClipboard(orderText_->plainText());
}

void TForm_order::OpenOrderInNotepad()
{
    // The text as the control holds it: a final line break only when the text ends with one.
    if (const std::optional<FileFailure> failure =
            WriteTextFile(kExportFile, orderText_->plainText())) {
        if (failure->whileWriting)
            throw velmaro::OrderError("Stream write error");
        throw velmaro::OrderError("Cannot create file " + toUtf8(kExportFile));
    }
    if (!desktop_.startEditor(kExportFile))
        desktop_.showMessage(
            this, QStringLiteral("No program could be started to show the order text.\n"
                                 "It is in the file %1; please open it yourself.")
                      .arg(QDir::toNativeSeparators(QFileInfo(kExportFile).absoluteFilePath())));
}

void TForm_order::Button_emailClick()
{
    guarded([this] {
        // The mailed flag spares the hand-off choice when closing, so it is set only when the
        // request actually reached a mail program.
        if (SendOrderByMail())
            mailed_ = true;
    });
}

void TForm_order::Button_clipboardClick()
{
    guarded([this] { CopyOrderToClipboard(); });
}

void TForm_order::Button_notepadClick()
{
    guarded([this] { OpenOrderInNotepad(); });
}
