#include "platform/desktop.h"

#include "platform/screen_scaling.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

// Every box of the program appears in the same place: the middle of the screen that shows the
// order window, not over the window, wherever that was moved.
class CentredBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        // The box takes its final size here, so only now can it be centred.
        QMessageBox::showEvent(event);
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        if (screen)
            setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                            screen->availableGeometry()));
    }
};

QMessageBox::StandardButton runBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                   const QString& text, QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton,
                                   QMessageBox::StandardButton escapeButton)
{
    CentredBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

Desktop::Answer answerOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Yes:
        return Desktop::Answer::Yes;
    case QMessageBox::No:
        return Desktop::Answer::No;
    default:
        return Desktop::Answer::Cancel;
    }
}

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)

// Openers still running when their wait ended. Destroying a QProcess kills its process, and a
// handler must not go with this program, so these are let go only once they have ended.
QList<QProcess*>& runningOpeners()
{
    static auto* running = new QList<QProcess*>;
    return *running;
}

// Hands one argument to the desktop's opener, with no shell in between, and tells whether a
// program took it. The opener exits non-zero when it finds no handler (3) or the handler fails
// (4); one that is still running after the wait has found its handler, as some stay until the
// handler ends. The window stays painted meanwhile, but takes no input.
bool openWithDesktopOpener(const QString& argument)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return false;

    auto process = std::make_unique<QProcess>();
    process->setProgram(opener);
    process->setArguments({argument});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);

    QEventLoop wait;
    bool ended = false;
    QObject::connect(process.get(), &QProcess::finished, &wait, [&] {
        ended = true;
        wait.quit();
    });
    QObject::connect(process.get(), &QProcess::errorOccurred, &wait,
                     [&](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             ended = true;
                             wait.quit();
                         }
                     });
    QTimer::singleShot(SystemDesktop::kHandOffWait, Qt::PreciseTimer, &wait, &QEventLoop::quit);

    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    process->start();
    if (!ended)
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::restoreOverrideCursor();

    if (process->state() != QProcess::NotRunning) {
        QProcess* running = process.release();
        runningOpeners().append(running);
        QObject::connect(running, &QProcess::finished, running, [running] {
            runningOpeners().removeOne(running);
            running->deleteLater();
        });
        return true;
    }
    return process->error() != QProcess::FailedToStart &&
           process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

#endif

} // namespace

void SystemDesktop::showMessage(QWidget* parent, const QString& text)
{
    runBox(parent, QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
           QMessageBox::Ok, QMessageBox::Ok);
}

Desktop::Answer SystemDesktop::confirm(QWidget* parent, const QString& text)
{
    return answerOf(runBox(parent, QMessageBox::Question, QStringLiteral("Confirm"), text,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                           QMessageBox::Yes, QMessageBox::Cancel));
}

Desktop::Answer SystemDesktop::ask(QWidget* parent, const QString& text)
{
    CentredBox box(QMessageBox::Question, QApplication::applicationName(), text,
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    // Escape and the close box answer "not now", which neither button says; without a button
    // of its own the box would give them to "No".
    box.setEscapeButton(QMessageBox::Cancel);
    box.button(QMessageBox::Cancel)->hide();
    return answerOf(static_cast<QMessageBox::StandardButton>(box.exec()));
}

void SystemDesktop::showError(QWidget* parent, const QString& text)
{
    runBox(parent, QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
           QMessageBox::Ok, QMessageBox::Ok);
}

bool SystemDesktop::openMailRequest(const QByteArray& request)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    // Strict mode keeps the request's percent-encoding exactly as built.
    return QDesktopServices::openUrl(QUrl::fromEncoded(request, QUrl::StrictMode));
#else
    // The desktop services report success as soon as the opener starts, even when it then finds
    // no mail program; the opener's exit status tells. Its scheme lookup is case-sensitive, so
    // the scheme goes in lower case, as a URL parser would write it; the rest keeps its bytes.
    const qsizetype colon = request.indexOf(':');
    return openWithDesktopOpener(
        QString::fromLatin1(request.left(colon).toLower() + request.mid(colon)));
#endif
}

bool SystemDesktop::startEditor(const QString& fileName)
{
#if defined(Q_OS_WIN)
    return QProcess::startDetached(QStringLiteral("notepad"), {fileName});
#elif defined(Q_OS_MACOS)
    return QProcess::startDetached(QStringLiteral("open"), {QStringLiteral("-e"), fileName});
#else
    // The desktop's handler for plain text is the user's editor; fall back to a few common
    // editors where no desktop is running.
    if (openWithDesktopOpener(QFileInfo(fileName).absoluteFilePath()))
        return true;
    for (const char* editor : {"gedit", "mousepad", "kate", "xed", "leafpad"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(editor));
        if (!path.isEmpty() && QProcess::startDetached(path, {fileName}))
            return true;
    }
    return false;
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

void SystemDesktop::copyToClipboard(const QString& text)
{
    // Plain text alone: a rich form would bring the memo's font into a mail composer, and the
    // text keeps every character, a no-break space included.
    auto* data = new QMimeData;
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}
