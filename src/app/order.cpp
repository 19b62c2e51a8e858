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
    const int status = RunOrderProgram(desktop);
    if (desktop.clipboardKeptAfterExit())
        ServeClipboardUntilTakenOver();
    return status;
}
