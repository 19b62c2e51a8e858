#pragma once

#include "desktop.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Stands in for the desktop in window tests: records every box, mail request and editor start,
// and answers confirmations from a queue (Yes when the queue is empty). The clipboard is the
// real one, which on the offscreen platform stays inside the test process.
class RecordingDesktop : public Desktop {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    bool openMailRequest(const QByteArray& request) override;
    bool startEditor(const QString& fileName) override;
    void copyToClipboard(const QString& text) override;
    void keepClipboardAfterExit() override;

    QStringList messages;           // plain boxes, in order
    QStringList confirmations;      // texts of the confirmation boxes
    QStringList errors;             // error boxes
    QList<QByteArray> mailRequests; // requests handed to the mail program
    QStringList editorStarts;       // files the editor was started on
    QList<Answer> answers;          // answers for the next confirmations
    int clipboardKeeps = 0;         // requests to keep the clipboard after the window
    bool mailHandlerWorks = true;   // what openMailRequest reports
    bool editorWorks = true;        // what startEditor reports
    // Hands mail and editor on through the real desktop's opener instead, still recording
    // them; a test then puts a stand-in opener on PATH.
    bool throughOpener = false;
};

// The desktop's opener replaced, for as long as this lives, by a script that is the only program
// on PATH: it notes its arguments, then runs `action` (a line of shell, "exit 3" say).
class StandInOpener {
public:
    explicit StandInOpener(const QByteArray& action);
    ~StandInOpener();
    StandInOpener(const StandInOpener&) = delete;
    StandInOpener& operator=(const StandInOpener&) = delete;

    // The arguments of the last run, one per line.
    QByteArray arguments() const;
    // Whether a run has got past its action.
    bool ended() const;

private:
    QTemporaryDir dir_;
    QByteArray previousPath_;
};
