#include "form/order_program.h"

#include "form/order1.h"
#include "platform/desktop.h"
#include "platform/order_safeguard.h"

#include <QApplication>

int RunOrderProgram(Desktop& desktop, const std::function<void(TForm_order&)>& started)
{
    // Before anything of the folder is read: a second window would overwrite the first one's
    // saved order with its own.
    OrderSafeguard safeguard;
    if (safeguard.lockFolder() == OrderSafeguard::Lock::HeldByOther) {
        desktop.showMessage(
            nullptr,
            QStringLiteral(
                "The order in this folder is already open in another VELMARO Order window."));
        return 1;
    }
    safeguard.catchEnds();

    int status = 0;
    {
        TForm_order window(desktop);
        window.setSafeguard(&safeguard);
        window.show();
        // Ask for the focus as well: the window's first activation sets up its defaults, and a
        // desktop without a window manager would not give it on its own.
        window.activateWindow();
        if (started)
            started(window);
        status = QApplication::exec();
        // Ended by anything but the customer (the session's end, say): the copy is brought up
        // to date for the next start.
        if (!window.endedByCustomer())
            safeguard.writeNow();
    }
    safeguard.releaseLock();
    return status;
}
