#include "platform/application.h"
#include "platform/desktop.h"
#include "form/order1.h"

#include <QApplication>
#include <QIcon>

#include <memory>

int main(int argc, char* argv[])
{
    KeepMemoryForReuse();
    QApplication app(argc, argv);
    InitialiseApplication();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velmaro-order.png")));

    SystemDesktop desktop;
    auto window = std::make_unique<TForm_order>(desktop);
    window->show();
    // Ask for the focus as well: the window's first activation sets up its defaults, and a
    // desktop without a window manager would not give it on its own.
    window->activateWindow();
    const int status = app.exec();
    // The window and everything tied to the open order go first: serving the clipboard may take
    // minutes, and the order must not stay held meanwhile. Only a road the customer chose asks
    // for the serving; a signal or the end of the session ends the program at once.
    window.reset();
    if (desktop.clipboardKeptAfterExit())
        ServeClipboardUntilTakenOver();
    return status;
}
