// OK, Cancel and Help.
#include "form/order1.h"

#include "platform/desktop.h"
#include "form/U64INRA.h"

#include <QStringList>

#include <memory>

void TForm_order::Button_okClick()
{
    guarded([this] {
        if (!saved_) {
            switch (desktop_.confirm(this, QStringLiteral("Save order.qzo ?"))) {
            case Desktop::Answer::Yes:
                // A failed save ends the flow here, with the window still open.
                SaveOrderFile();
                break;
            case Desktop::Answer::No:
                break;
            case Desktop::Answer::Cancel:
                // Cancel means "not yet": the order stays on screen, nothing is lost.
                return;
            }
        }
        if (!mailed_) {
            qint16 choice = 1;
            bool cancelled = false;
            {
                // The dialog and its option list go at the end of this block, also when
                // something in it throws.
                Tin_radiodialog dialog(this);
                dialog.Choices = std::make_unique<QStringList>();
                *dialog.Choices << QStringLiteral("generate order Email")
                                << QStringLiteral("copy order text into clipboard")
                                << QStringLiteral("open Notepad with order text");
                dialog.SetupChoice(QStringLiteral("Generate order"), 3, quint16(choice));
                dialog.exec();
                dialog.GetChoice(choice, cancelled);
            }
            if (!cancelled) {
                switch (choice) {
                case 1:
                    // When no mail program took the order, the window stays open so the
                    // customer can still copy or save it; the box has said how.
                    if (!SendOrderByMail())
                        return;
                    break;
                case 2:
                    CopyOrderToClipboard();
                    break;
                case 3:
                    OpenOrderInNotepad();
                    break;
                default:
                    break;
                }
            }
        }
        endByCustomer();
        close();
    });
}

void TForm_order::Button_cancelClick()
{
    // Cancel, Escape and the close box end the program at once, without asking.
    endByCustomer();
    close();
}

void TForm_order::Button_helpClick()
{
    const QStringList lines = {
        QStringLiteral("1. select program(s), license, language, then click --> button"),
        QStringLiteral("2. input delivery, payment and address data, then click ---> button"),
        QStringLiteral("3. click --> Email button to generate email"),
        QStringLiteral("4. Send Email"),
    };
    desktop_.showMessage(this, lines.join(QLatin1Char('\n')));
}
