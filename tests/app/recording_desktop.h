#pragma once

#include "desktop.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Stands in for the desktop in window tests: records every box, mail request and editor start,
// and answers confirmations from a queue (Yes when the queue is empty).
class RecordingDesktop : public Desktop {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    Answer confirm(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    bool openMailRequest(const QByteArray& request) override;
    void startEditor(const QString& fileName) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposedPath,
                           const QString& filter) override;

    QStringList messages;           // plain boxes, in order
    QStringList confirmations;      // texts of the confirmation boxes
    QStringList errors;             // error boxes
    QList<QByteArray> mailRequests; // requests handed to the mail program
    QStringList editorStarts;       // files the editor was started on
    QList<Answer> answers;          // answers for the next confirmations
    bool mailHandlerWorks = true;   // what openMailRequest reports
    QStringList saveFileOffers;     // paths proposed by the save dialogs
    QString saveFileChoice;         // what the save dialogs answer; empty cancels
};
