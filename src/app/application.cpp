#include "application.h"

#include "screen_scaling.h"

#include <QApplication>
#include <QFont>

void InitialiseApplication()
{
    // The application title captions the message boxes and names the taskbar entry. It is
    // deliberately not the display name, which some platforms append to every window caption.
    QApplication::setApplicationName(QStringLiteral("VELMARO Order Software"));

    // The layout was drawn for a narrow sans face and a serif heading; take the closest faces
    // the platform has.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("Times"),
                                QStringLiteral("DejaVu Serif")});

    ReadScreenPixelsPerInch();
    ScalePercent = 100;
}
