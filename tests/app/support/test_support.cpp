#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
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
