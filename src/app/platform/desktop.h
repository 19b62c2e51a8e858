#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <limits>

class QWidget;

// The program's only way out to the desktop: message boxes, the mail program, the text editor
// and the clipboard. The window talks to this interface alone, so tests put a recording
// stand-in in its place and no test ever opens a real box, mail program or editor.
class Desktop {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Desktop() = default;

    // A plain box titled with the application title, no icon, one OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // The "Confirm" box with Yes (default), No and Cancel (Escape).
    virtual Answer confirm(QWidget* parent, const QString& text) = 0;
    // A question with Yes (default) and No. Escape and the close box answer Cancel: neither.
    virtual Answer ask(QWidget* parent, const QString& text) = 0;
    // The error box: application title, error icon, one OK button. The text is shown as given.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // The longest mailto request the platform's hand-off can carry (it is ASCII, so bytes and
    // characters are one). On Linux the opener gets it as one program argument, which the
    // kernel takes up to 128 KiB with its terminating zero; on Windows a command line holds
    // 32,767 characters, its terminating zero included. A longer request would fail as if no
    // mail program were set up.
#if defined(Q_OS_WIN)
    static constexpr qsizetype kMaxMailRequestLength = 32767 - 1;
#elif defined(Q_OS_MACOS)
    static constexpr qsizetype kMaxMailRequestLength = std::numeric_limits<qsizetype>::max();
#else
    static constexpr qsizetype kMaxMailRequestLength = 131072 - 1;
#endif

    // Hands a percent-encoded mailto request of at most kMaxMailRequestLength bytes to the
    // platform's mail handler. False when no program took it. The bytes are lent for the call
    // only.
    virtual bool openMailRequest(const QByteArray& request) = 0;
    // Opens a file of the working directory in the plain-text editor and does not wait for the
    // editor. False when no program took it.
    virtual bool startEditor(const QString& fileName) = 0;
    // Replaces the clipboard's content by exactly this text, as plain text and nothing else.
    virtual void copyToClipboard(const QString& text) = 0;
    // The program is about to end by the customer's choice, so what it put on the clipboard
    // must stay pasteable after the window has gone (where it still owns the clipboard then).
    virtual void keepClipboardAfterExit() = 0;
    // Asks where to save a file, proposing the given path (its suffix is added to a name typed
    // without one). The chosen path, or an empty text when the user cancels; a desktop that
    // cannot ask cancels.
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption,
                                   const QString& proposedPath, const QString& filter);
};

// The real desktop: Qt's message boxes centred on the order window's screen, the desktop's
// opener for mail and files, and the system clipboard.
class SystemDesktop : public Desktop {
public:
    // How long a hand-off may take to report that no program took it. Openers that find a
    // handler either exit 0 at once or keep running as long as the handler does.
    static constexpr std::chrono::milliseconds kHandOffWait{3000};

    void showMessage(QWidget* parent, const QString& text) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    Answer ask(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    bool openMailRequest(const QByteArray& request) override;
    bool startEditor(const QString& fileName) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                           const QString& filter) override;
    void copyToClipboard(const QString& text) override;
    void keepClipboardAfterExit() override { keepClipboard_ = true; }

    bool clipboardKeptAfterExit() const { return keepClipboard_; }

private:
    bool keepClipboard_ = false;
};
