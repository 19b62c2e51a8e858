#include "recording_desktop.h"

void RecordingDesktop::showMessage(QWidget*, const QString& text)
{
    messages << text;
}

Desktop::Answer RecordingDesktop::confirm(QWidget*, const QString& text)
{
    confirmations << text;
    return answers.isEmpty() ? Answer::Yes : answers.takeFirst();
}

void RecordingDesktop::showError(QWidget*, const QString& text)
{
    errors << text;
}

bool RecordingDesktop::openMailRequest(const QByteArray& request)
{
    // The request's bytes are lent for the call only: keep a copy.
    mailRequests << QByteArray(request.constData(), request.size());
    return mailHandlerWorks;
}

void RecordingDesktop::startEditor(const QString& fileName)
{
    editorStarts << fileName;
}

QString RecordingDesktop::chooseSaveFile(QWidget*, const QString&, const QString& proposedPath,
                                         const QString&)
{
    saveFileOffers << proposedPath;
    return saveFileChoice;
}
