#include "platform/application.h"
#include "platform/desktop.h"
#include "form/order1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    KeepMemoryForReuse();
    QApplication app(argc, argv);
    InitialiseApplication();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velmaro-order.png")));

    SystemDesktop desktop;
    TForm_order window(desktop);
    window.show();
    // Ask for the focus as well: the window's first activation sets up its defaults, and a
    // desktop without a window manager would not give it on its own.
    window.activateWindow();
    const int status = app.exec();
    if (desktop.clipboardKeptAfterExit())
        ServeClipboardUntilTakenOver();
    return status;
}
