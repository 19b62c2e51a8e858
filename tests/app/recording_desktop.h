#pragma once

#include "platform/desktop.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Stands in for the desktop in window tests: records every box, mail request and editor start,
// and answers confirmations from a queue (Yes when the queue is empty). The clipboard is the
// real one, which on the offscreen platform stays inside the test process.
class RecordingDesktop : public Desktop {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    // Recorded and answered like a confirmation.
    Answer ask(QWidget* parent, const QString& text) override { return confirm(parent, text); }
    void showError(QWidget* parent, const QString& text) override;
    bool openMailRequest(const QByteArray& request) override;
    bool startEditor(const QString& fileName) override;
    void copyToClipboard(const QString& text) override;
    void keepClipboardAfterExit() override { ++clipboardKeeps; }
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                           const QString& filter) override;

    QStringList messages;           // plain boxes, in order
    QStringList confirmations;      // texts of the confirmation boxes
    QStringList errors;             // error boxes
    QList<QByteArray> mailRequests; // requests handed to the mail program
    QStringList editorStarts;       // files the editor was started on
    QList<Answer> answers;          // answers for the next confirmations
    int clipboardKeeps = 0;         // requests to keep the clipboard after the window
    bool mailHandlerWorks = true;   // what openMailRequest reports
    QStringList saveFileOffers;     // paths proposed by the save dialogs
    QString saveFileChoice;         // what the save dialogs answer; empty cancels
    bool editorWorks = true;        // what startEditor reports
    // Runs as each plain box shows, to see the window behind it.
    std::function<void()> whileMessageShows;
    // When set, mail and editor go through the real desktop's opener instead, a script alone on
    // PATH that notes its arguments in opener-arguments, runs this line of shell, and then
    // leaves the file opener-ended.
    QByteArray openerAction;
};
