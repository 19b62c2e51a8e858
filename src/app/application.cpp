#include "application.h"

#include "screen_scaling.h"

#include <QApplication>
#include <QFont>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

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

void KeepMemoryForReuse()
{
#if defined(__GLIBC__)
    // Blocks up to 32 MiB come from the heap rather than from fresh mappings, and up to 64 MiB
    // of free heap stay with the process.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}
