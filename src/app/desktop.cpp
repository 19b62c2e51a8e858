#include "desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

namespace {

// The room a window's frame and title bar take, as the order window reckons it.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 34;

QMessageBox::StandardButton runBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                   const QString& text, QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton,
                                   QMessageBox::StandardButton escapeButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void SystemDesktop::showMessage(QWidget* parent, const QString& text)
{
    runBox(parent, QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
           QMessageBox::Ok, QMessageBox::Ok);
}

Desktop::Answer SystemDesktop::confirm(QWidget* parent, const QString& text)
{
    switch (runBox(parent, QMessageBox::Question, QStringLiteral("Confirm"), text,
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                   QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void SystemDesktop::showError(QWidget* parent, const QString& text)
{
    runBox(parent, QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
           QMessageBox::Ok, QMessageBox::Ok);
}

bool SystemDesktop::openMailRequest(const QByteArray& request)
{
    // Strict mode keeps the request's percent-encoding exactly as built.
    return QDesktopServices::openUrl(QUrl::fromEncoded(request, QUrl::StrictMode));
}

void SystemDesktop::startEditor(const QString& fileName)
{
#if defined(Q_OS_WIN)
    QProcess::startDetached(QStringLiteral("notepad"), {fileName});
#elif defined(Q_OS_MACOS)
    QProcess::startDetached(QStringLiteral("open"), {QStringLiteral("-e"), fileName});
#else
    // The desktop's handler for plain text is the user's editor; fall back to a few common
    // editors where no desktop is running.
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath())))
        return;
    for (const char* editor : {"gedit", "mousepad", "kate", "xed", "leafpad"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(editor));
        if (!path.isEmpty() && QProcess::startDetached(path, {fileName}))
            return;
    }
#endif
}

QString Desktop::chooseSaveFile(QWidget*, const QString&, const QString&, const QString&)
{
    return {};
}

QString SystemDesktop::chooseSaveFile(QWidget* parent, const QString& caption,
                                      const QString& proposedPath, const QString& filter)
{
    QFileDialog dialog(parent, caption, QFileInfo(proposedPath).absolutePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(proposedPath).suffix());
    dialog.selectFile(QFileInfo(proposedPath).fileName());
    // The dialog's own size can exceed a small or strongly scaled screen and put its buttons
    // out of reach; it lays itself out in whatever room it gets.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size() - QSize(kFrameWidth, kFrameHeight);
        dialog.resize(dialog.sizeHint().boundedTo(room));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
