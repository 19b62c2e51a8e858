#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

// The program's only way out to the desktop: message boxes, the mail program and the text
// editor. The window talks to this interface alone, so tests put a recording stand-in in its
// place and no test ever opens a real box, mail program or editor.
class Desktop {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Desktop() = default;

    // A plain box titled with the application title, no icon, one OK button.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // The "Confirm" box with Yes (default), No and Cancel (Escape).
    virtual Answer confirm(QWidget* parent, const QString& text) = 0;
    // The error box: application title, error icon, one OK button. The text is shown as given.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // Hands a percent-encoded mailto request to the platform's mail handler. False when the
    // platform says it could not hand it on. The bytes are lent for the call only.
    virtual bool openMailRequest(const QByteArray& request) = 0;
    // Starts the plain-text editor on a file of the working directory and does not wait for it.
    virtual void startEditor(const QString& fileName) = 0;
    // Asks where to save a file, proposing the given path (its suffix is added to a name typed
    // without one). The chosen path, or an empty text when the user cancels; a desktop that
    // cannot ask cancels.
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption,
                                   const QString& proposedPath, const QString& filter);
};

// The real desktop: Qt's message boxes, the desktop services and a detached editor process.
class SystemDesktop : public Desktop {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    bool openMailRequest(const QByteArray& request) override;
    void startEditor(const QString& fileName) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                           const QString& filter) override;
};
