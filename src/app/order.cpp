#include "desktop.h"
#include "order1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The application title captions the message boxes and names the taskbar entry. It is
    // deliberately not set as display name, which some platforms append to window captions.
    app.setApplicationName(QStringLiteral("VELMARO Order Software"));

    SystemDesktop desktop;
    TForm_order window(desktop);
    window.show();
    return app.exec();
}
