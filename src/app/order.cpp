#include "form/order_program.h"
#include "platform/application.h"
#include "platform/desktop.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    KeepMemoryForReuse();
    QApplication app(argc, argv);
    InitialiseApplication();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velmaro-order.png")));

    SystemDesktop desktop;
    // The window, the folder's lock and the recovery copy are gone when this returns: serving the
    // clipboard may take minutes, and the order must not stay held meanwhile. Only a road the
    // customer chose asks for the serving; a signal ends the program before it gets here.
    const int status = RunOrderProgram(desktop);
    if (desktop.clipboardKeptAfterExit())
        ServeClipboardUntilTakenOver();
    return status;
}
