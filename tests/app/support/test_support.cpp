#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QProcess>
#include <QWidget>

QByteArray fileBytes(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot prepare %s", qPrintable(name));
}

QStringList entries(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

void dropText(QWidget* target, const QPoint& at, const QString& text)
{
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter); // the drop goes to the widget that took the drag
    QApplication::sendEvent(target, &drop);
}

QByteArray scannedCode(const QString& imageFile)
{
    // Binary output: the bytes of the symbol as they are, not converted from a guessed charset.
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"),
                                           QStringLiteral("-Sbinary"), imageFile});
    if (!zbar.waitForFinished())
        qFatal("zbarimg did not run; scripts/install-deps.sh installs it");
    return zbar.readAllStandardOutput();
}

ModalWatch::ModalWatch()
{
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            seen << modal->windowTitle();
            modal->close();
        }
    });
    poll_.start(10);
}

VirtualXServer::VirtualXServer(const QStringList& options)
{
    server_.start("Xvfb", QStringList{"-displayfd", "1", "-nolisten", "tcp"} + options);
    if (!server_.waitForReadyRead(10000))
        qFatal("Xvfb did not start");
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert("DISPLAY", ':' + server_.readAllStandardOutput().trimmed());
    environment_.insert("QT_QPA_PLATFORM", "xcb");
    // Under the sanitizers the X11 platform's own libraries trip two checks (a bounded strndup
    // of an unterminated buffer, a D-Bus allocation kept to the end).
    environment_.insert("ASAN_OPTIONS", environment_.value("ASAN_OPTIONS") +
                                            ":strict_string_checks=0:detect_leaks=0");
}

VirtualXServer::~VirtualXServer()
{
    server_.terminate();
    server_.waitForFinished(10000);
}
