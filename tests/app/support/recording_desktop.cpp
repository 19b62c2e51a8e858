#include "recording_desktop.h"

#include "test_support.h"

#include <QFile>

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
    return throughOpener ? SystemDesktop().openMailRequest(request) : mailHandlerWorks;
}

bool RecordingDesktop::startEditor(const QString& fileName)
{
    editorStarts << fileName;
    return throughOpener ? SystemDesktop().startEditor(fileName) : editorWorks;
}

void RecordingDesktop::copyToClipboard(const QString& text)
{
    SystemDesktop().copyToClipboard(text);
}

void RecordingDesktop::keepClipboardAfterExit()
{
    ++clipboardKeeps;
}

StandInOpener::StandInOpener(const QByteArray& action) : previousPath_(qgetenv("PATH"))
{
    const QString script = dir_.filePath(QStringLiteral("xdg-open"));
    const QByteArray dir = dir_.path().toUtf8();
    // Its output goes nowhere, so a run still going does not hold the test's own output open.
    writeFile(script, "#!/bin/sh\nexec >/dev/null 2>&1\nprintf '%s\\n' \"$@\" > '" + dir +
                          "/arguments'\n" + action + "\n: > '" + dir + "/ended'\n");
    QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    qputenv("PATH", dir);
}

StandInOpener::~StandInOpener()
{
    qputenv("PATH", previousPath_);
}

QByteArray StandInOpener::arguments() const
{
    return fileBytes(dir_.filePath(QStringLiteral("arguments")));
}

bool StandInOpener::ended() const
{
    return QFile::exists(dir_.filePath(QStringLiteral("ended")));
}
