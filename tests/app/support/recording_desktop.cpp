#include "recording_desktop.h"

#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

template <typename HandOff> bool throughStandInOpener(const QByteArray& action, HandOff handOff)
{
    QTemporaryDir bin;
    const QString script = bin.filePath(QStringLiteral("xdg-open"));
    // Its output goes nowhere, so a run still going does not hold the test's output open.
    writeFile(script,
              "#!/bin/sh\nexec >/dev/null 2>&1\nprintf '%s\\n' \"$@\" > opener-arguments\n" +
                  action + "\n: > opener-ended\n");
    QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    SystemDesktop desktop;
    const bool opened = handOff(desktop);
    qputenv("PATH", path);
    return opened;
}

} // namespace

void RecordingDesktop::showMessage(QWidget*, const QString& text)
{
    messages << text;
    if (whileMessageShows)
        whileMessageShows();
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
    if (openerAction.isEmpty())
        return mailHandlerWorks;
    return throughStandInOpener(openerAction,
                                [&](Desktop& d) { return d.openMailRequest(request); });
}

bool RecordingDesktop::startEditor(const QString& fileName)
{
    editorStarts << fileName;
    if (openerAction.isEmpty())
        return editorWorks;
    return throughStandInOpener(openerAction, [&](Desktop& d) { return d.startEditor(fileName); });
}

void RecordingDesktop::copyToClipboard(const QString& text)
{
    SystemDesktop().copyToClipboard(text);
}

QString RecordingDesktop::chooseSaveFile(QWidget*, const QString&, const QString& proposedPath,
                                         const QString&)
{
    saveFileOffers << proposedPath;
    return saveFileChoice;
}
