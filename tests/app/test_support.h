#pragma once

#include <QByteArray>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTimer>

class QComboBox;
class QWidget;

// A file's bytes, or "<missing>" when it cannot be read.
QByteArray fileBytes(const QString& name);

// Puts a file in place for a test; a test that cannot prepare its files stops.
void writeFile(const QString& name, const QByteArray& bytes);

// The entries of a list, in order.
QStringList entries(const QComboBox* list);

// Drags a text onto a widget and drops it there, as the mouse does.
void dropText(QWidget* target, const QPoint& at, const QString& text);

// What zbarimg reads from the one QR code in an image file, byte for byte.
QByteArray scannedCode(const QString& imageFile);

// Any modal window that shows up while it lives is noted and closed, so a key or click that
// opens a dialog by mistake fails the test instead of hanging it.
class ModalWatch {
public:
    ModalWatch();
    QStringList seen; // the captions of the modal windows closed

private:
    QTimer poll_;
};

// A virtual X server (Xvfb, with `options` added) for as long as it lives; a test that cannot
// start it stops.
class VirtualXServer {
public:
    explicit VirtualXServer(const QStringList& options = {});
    ~VirtualXServer();
    VirtualXServer(const VirtualXServer&) = delete;
    VirtualXServer& operator=(const VirtualXServer&) = delete;

    // What a child process needs to show its windows on this server.
    QProcessEnvironment environment() const { return environment_; }

private:
    QProcess server_;
    QProcessEnvironment environment_;
};
