#include "platform/application.h"

#include "platform/screen_scaling.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QFont>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(ORDER_HAVE_XCB)
#include <QGuiApplication>

#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace {

// Whether a clipboard manager is there to take the text when the program ends; Qt then hands
// the text over to it on its own.
bool clipboardManagerRuns()
{
#if defined(ORDER_HAVE_XCB)
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t* connection = x11->connection();
    static constexpr char kName[] = "CLIPBOARD_MANAGER";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof kName - 1, kName), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner = nullptr;
    if (atom->atom != XCB_ATOM_NONE)
        owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool runs = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    std::free(atom);
    return runs;
#else
    return false;
#endif
}

} // namespace

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

void ServeClipboardUntilTakenOver(std::chrono::milliseconds limit)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    // There the clipboard keeps its text after the program ends.
    Q_UNUSED(limit);
#else
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard() || clipboardManagerRuns())
        return;
    QEventLoop serve;
    QObject::connect(clipboard, &QClipboard::changed, &serve, [&](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard())
            serve.quit();
    });
    QTimer::singleShot(limit, Qt::PreciseTimer, &serve, &QEventLoop::quit);
    serve.exec();
#endif
}
