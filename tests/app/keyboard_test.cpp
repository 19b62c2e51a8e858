// The order window without a mouse and through a screen reader: a whole order composed along
// the tab order, every stop of the ring as it is heard, the actions of assistive technology, and
// amounts that can be read and heard.
//
// Every button has a road by keys: after "Help" the ring runs through the buttons in reading
// order, "Order Updates" and "Upgrade inquiry" while the licence table shows them, then "Cancel"
// and "OK". Space and Enter press the focused one.
#include "controls/spin_button.h"
#include "controls/string_grid.h"
#include "window_fixture.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <functional>

namespace {

// The window's control that holds the focus: an open cell editor or a spin box's own line edit
// belongs to the control around it.
QString controlWithFocus()
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")))
            return name;
    }
    return QStringLiteral("<none>");
}

// A key as the user presses it: to whatever has the focus, with the events it queues handled
// before the next key, as between two real keystrokes.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, key, modifiers);
    QCoreApplication::processEvents();
}

void type(const QString& text)
{
    for (const QChar c : text) {
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        QCoreApplication::processEvents();
    }
}

#define TAB_TO(name)                                                                               \
    do {                                                                                           \
        press(Qt::Key_Tab);                                                                        \
        QCOMPARE(controlWithFocus(), QStringLiteral(name));                                        \
    } while (false)

#define BACKTAB_TO(name)                                                                           \
    do {                                                                                           \
        press(Qt::Key_Backtab);                                                                    \
        QCOMPARE(controlWithFocus(), QStringLiteral(name));                                        \
    } while (false)

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void wholeOrderAlongTheTabOrder();
    void licenceTableByKeys();
    void everyControlHasAnAccessibleName();
    void pastedLineBreaksKeepOneLineFieldsOnOneLine();
    void wholeCheckBoxAreaToggles();
    void assistiveActionsReachTheHandlers();
    void amountsAreLegibleAndHeard();
};

void KeyboardTest::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void KeyboardTest::wholeOrderAlongTheTabOrder()
{
    WindowFixture f;
    ModalWatch modals;
    TForm_order& w = f.window();
    w.ComboBox_paket->setFocus();
    QCOMPARE(controlWithFocus(), QStringLiteral("ComboBox_paket"));

    // A closed list changes its entry with the arrow keys, and that is a change by the user.
    TAB_TO("ComboBox_programm");
    press(Qt::Key_Down);
    QCOMPARE(w.ComboBox_programm->currentText(), QStringLiteral("Lumo "));
    QCOMPARE(w.Edit_einzelpreis->text(), QStringLiteral("107.00"));
    press(Qt::Key_Up);
    QCOMPARE(w.Edit_einzelpreis->text(), QStringLiteral("383.00"));
    TAB_TO("ComboBox_updateneu");
    TAB_TO("ComboBox_lizenztyp");
    press(Qt::Key_Down);
    QCOMPARE(w.Edit_einzelpreis->text(), QStringLiteral("574.50"));
    // Tabbing into the number selects it, so a digit replaces it.
    TAB_TO("SpinEdit_anzahl");
    type(QStringLiteral("3"));
    QCOMPARE(w.Edit_einzelpreis->text(), QStringLiteral("1,149.00"));
    TAB_TO("ComboBox_language");
    press(Qt::Key_Up);
    QCOMPARE(w.ComboBox_language->currentText(), QStringLiteral("Deutsch"));
    // The hidden licence number field is skipped; Tab leaves the order text instead of going
    // into it.
    TAB_TO("Memo1");
    TAB_TO("Button_add");
    QCOMPARE(w.orderText().count(), 0);
    press(Qt::Key_Space);
    QCOMPARE(w.orderText().count(), 8);

    // An update: back along the row, where the update kind swaps number and type for the
    // licence number.
    BACKTAB_TO("Memo1");
    BACKTAB_TO("ComboBox_language");
    BACKTAB_TO("SpinEdit_anzahl");
    BACKTAB_TO("ComboBox_lizenztyp");
    BACKTAB_TO("ComboBox_updateneu");
    press(Qt::Key_Down);
    QCOMPARE(w.Edit_einzelpreis->text(), QStringLiteral("40.00"));
    TAB_TO("ComboBox_language");
    TAB_TO("Edit_lizno");
    type(QStringLiteral("815"));
    TAB_TO("Memo1");
    TAB_TO("Button_add");
    // Enter on the focused button presses that button, not the window's default "OK".
    press(Qt::Key_Return);
    QCOMPARE(w.orderText().count(), 9);
    QVERIFY(f.desktop.confirmations.isEmpty());

    // Delivery and payment: the hidden licence table is skipped.
    TAB_TO("ComboBox_location");
    press(Qt::Key_Down);
    QCOMPARE(w.ComboBox_location->currentText(), QStringLiteral("World"));
    QVERIFY(w.Edit_vatno->isHidden());
    press(Qt::Key_Up);
    QVERIFY(w.Edit_vatno->isVisible());
    TAB_TO("Edit_vatno");
    type(QStringLiteral("ATU12345678"));
    TAB_TO("ComboBox_versand");
    press(Qt::Key_Down);
    QCOMPARE(w.Edit_versandkosten->text(), QStringLiteral("25.00"));
    TAB_TO("ComboBox_zahlung");
    press(Qt::Key_Down);
    QCOMPARE(w.Label_zahlungstext->text(), QStringLiteral("PayPal"));

    // The address table: the hidden card fields, the disabled postage and the hidden row arrows
    // are skipped. Entering the table opens its first cell; the arrow keys move between cells
    // and keep what was typed; Enter keeps a cell without pressing "OK"; Tab leaves the table.
    TAB_TO("StringGrid_adresse");
    type(QStringLiteral("Harbour Works"));
    press(Qt::Key_Down);
    type(QStringLiteral("Ines Marlow"));
    press(Qt::Key_Down);
    type(QStringLiteral("4 Quay Road"));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    type(QStringLiteral("ines@harbour.example"));
    press(Qt::Key_Return);
    QVERIFY(f.desktop.confirmations.isEmpty());
    QVERIFY(w.isVisible());
    press(Qt::Key_Up);
    type(QStringLiteral("Dock 7"));
    TAB_TO("Button_zahlung");
    QCOMPARE(w.StringGrid_adresse->cell(1, 4), QStringLiteral("Dock 7"));
    press(Qt::Key_Space);

    const QStringList expected = {
        "3 Qorvex Network Floating  Deutsch : 1,149.00 EUR",
        "1 Qorvex Update (Win32/64) Deutsch #815 : 40.00 EUR",
        "",
        "sum net: 1,189.00 EUR",
        "Postage cost: 25.00 EUR",
        "Sum total: 1,214.00 EUR",
        "",
        "European VAT No.: ATU12345678",
        "",
        "Payment: PayPal",
        "https://www.paypal.me/velmarosoftware/1214.00EUR",
        "",
        "",
        "Harbour Works",
        "Ines Marlow",
        "4 Quay Road",
        "",
        "Dock 7",
        "ines@harbour.example",
    };
    QCOMPARE(w.orderText().all().mid(7), expected);
    QCOMPARE(w.orderText().line(0), QStringLiteral("Purchase Order to VELMARO Software"));

    // The rest of the ring is walked in licenceTableByKeys.
    TAB_TO("CheckBox_lizenzen");

    // Enter in a single-line field starts the closing flow; Cancel at the save prompt keeps
    // the order on screen.
    BACKTAB_TO("Button_zahlung");
    BACKTAB_TO("StringGrid_adresse");
    BACKTAB_TO("ComboBox_zahlung");
    BACKTAB_TO("ComboBox_versand");
    BACKTAB_TO("Edit_vatno");
    f.desktop.answers = {Desktop::Answer::Cancel};
    press(Qt::Key_Return);
    QCOMPARE(f.desktop.confirmations, QStringList{QStringLiteral("Save order.qzo ?")});
    QVERIFY(w.isVisible());
    QCOMPARE(w.orderText().count(), 7 + expected.size());
    QVERIFY(f.desktop.errors.isEmpty());
    QVERIFY(f.desktop.messages.isEmpty());
    QVERIFY(modals.seen.isEmpty());
}

void KeyboardTest::licenceTableByKeys()
{
    WindowFixture f;
    TForm_order& w = f.window();
    w.Button_help->setFocus();
    BACKTAB_TO("CheckBox_lizenzen");
    press(Qt::Key_Space);
    QVERIFY(w.StringGrid_lizenzen->isVisible());

    // The table follows "+" in the ring; its first cell opens for typing.
    w.Button_add->setFocus();
    TAB_TO("StringGrid_lizenzen");
    type(QStringLiteral("Pell Paint"));
    // Left and right move the caret inside an open cell, so the next column is reached from
    // the table itself: out and back in, which leaves the cell closed.
    TAB_TO("ComboBox_location");
    BACKTAB_TO("StringGrid_lizenzen");
    press(Qt::Key_Right);
    type(QStringLiteral("3021"));
    TAB_TO("ComboBox_location");
    QCOMPARE(w.StringGrid_lizenzen->cell(1, 1), QStringLiteral("Pell Paint"));
    QCOMPARE(w.StringGrid_lizenzen->cell(2, 1), QStringLiteral("3021"));

    // The row arrows take the arrow keys: down adds a row, up removes one.
    TAB_TO("Edit_vatno");
    TAB_TO("ComboBox_versand");
    TAB_TO("ComboBox_zahlung");
    TAB_TO("SpinButton_lizenzen");
    press(Qt::Key_Down);
    QCOMPARE(w.StringGrid_lizenzen->rowCount(), 10);
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    QCOMPARE(w.StringGrid_lizenzen->rowCount(), 8);
    // Backtab leaves a table from an open cell too.
    TAB_TO("StringGrid_adresse");
    type(QStringLiteral("Harbour Works"));
    BACKTAB_TO("SpinButton_lizenzen");
    QCOMPARE(w.StringGrid_adresse->cell(1, 0), QStringLiteral("Harbour Works"));

    // The whole ring, each stop as a screen reader names it.
    w.ComboBox_paket->setFocus();
    QStringList heard;
    do {
        const QString name = controlWithFocus();
        heard << name + ": " +
                     QAccessible::queryAccessibleInterface(w.findChild<QWidget*>(name))
                         ->text(QAccessible::Name);
        press(Qt::Key_Tab);
    } while (controlWithFocus() != QStringLiteral("ComboBox_paket") && heard.size() < 50);
    const QStringList ring = {
        "ComboBox_paket: Software/Bundle",
        "ComboBox_programm: Software",
        "ComboBox_updateneu: New/Update",
        "ComboBox_lizenztyp: License",
        "SpinEdit_anzahl: Number",
        "ComboBox_language: Language",
        "Memo1: Order text",
        "Button_add: Add item to the order",
        "StringGrid_lizenzen: My licenses",
        "ComboBox_location: Location",
        "Edit_vatno: European VAT No.",
        "ComboBox_versand: Delivery",
        "ComboBox_zahlung: Payment",
        "SpinButton_lizenzen: Rows of my licenses",
        "StringGrid_adresse: Address",
        "Button_zahlung: Complete the order with totals and address",
        "CheckBox_lizenzen: My Licenses",
        "Button_help: Help",
        "Button_clear: Clear",
        "Button_clipboard: Clipboard",
        "Button_notepad: Notepad",
        "Button_email: Email",
        "Button_orderupdates: Order Updates",
        "Button_upgrade: Upgrade inquiry",
        "Button_cancel: Cancel",
        "Button_ok: OK",
    };
    QCOMPARE(heard, ring);

    // The licence buttons work from the keys: Space orders the update, Enter asks for offers.
    w.Button_email->setFocus();
    TAB_TO("Button_orderupdates");
    press(Qt::Key_Space);
    QVERIFY(w.orderText().all().contains(QStringLiteral("1 Update Pell Paint #3021 : 40.00 EUR")));
    TAB_TO("Button_upgrade");
    const int before = w.orderText().count();
    press(Qt::Key_Return);
    QVERIFY(w.orderText().count() > before);
    QVERIFY(f.desktop.confirmations.isEmpty());
}

void KeyboardTest::everyControlHasAnAccessibleName()
{
    WindowFixture f;
    TForm_order& w = f.window();
    // Everything that can be shown at once: the licence table and its buttons as well.
    w.CheckBox_lizenzen->click();
    QVERIFY(w.StringGrid_lizenzen->isVisible());

    QList<QWidget*> controls;
    for (QWidget* widget : w.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QAbstractSpinBox*>(widget) ||
                             qobject_cast<QPlainTextEdit*>(widget) ||
                             qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<StringGrid*>(widget) || qobject_cast<SpinButton*>(widget);
        // The toolkit's own parts of a control (a spin box's line edit, a table's corner
        // button) are announced through the control they belong to.
        const QString name = widget->objectName();
        if (control && widget->isVisible() && !name.isEmpty() && !name.startsWith("qt_"))
            controls << widget;
    }
    QVERIFY(controls.size() >= 30);

    QHash<QString, QString> owners;
    for (QWidget* control : std::as_const(controls)) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY2(accessible, qPrintable(control->objectName()));
        const QString name = accessible->text(QAccessible::Name).trimmed();
        QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
        // Two controls under one name cannot be told apart by ear.
        QVERIFY2(!owners.contains(name),
                 qPrintable(control->objectName() + " and " + owners.value(name) + ": " + name));
        owners.insert(name, control->objectName());
    }

    // Fields are announced by the caption beside them.
    QAccessibleInterface* vatNo = QAccessible::queryAccessibleInterface(w.Edit_vatno);
    QCOMPARE(vatNo->text(QAccessible::Name), w.Label_vatno->text());
    QAccessibleInterface* number = QAccessible::queryAccessibleInterface(w.SpinEdit_anzahl);
    QCOMPARE(number->text(QAccessible::Name), w.Label_anzahl->text());
}

void KeyboardTest::pastedLineBreaksKeepOneLineFieldsOnOneLine()
{
    WindowFixture f;
    StringGrid* grid = f->StringGrid_adresse;
    const QModelIndex cell = grid->model()->index(2, 0);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    // Every kind of line break, alone and mixed; breaks inside become one blank each, breaks at
    // the end none.
    const std::pair<QString, QString> texts[] = {
        {QStringLiteral("DE123\r\nXYZ\u2028\r\n"), QStringLiteral("DE123 XYZ")},
        {QStringLiteral("DE123\nXYZ\n"), QStringLiteral("DE123 XYZ")},
        {QStringLiteral("DE123\rXYZ\r"), QStringLiteral("DE123 XYZ")},
        {QStringLiteral("DE123\r\nXYZ\r\n"), QStringLiteral("DE123 XYZ")},
        {QStringLiteral("DE123\u2029XYZ\u2029"), QStringLiteral("DE123 XYZ")},
        {QStringLiteral("a\n\nb"), QStringLiteral("a  b")},
        {QStringLiteral("a\r\rb\u2029\u2028c"), QStringLiteral("a  b  c")},
    };
    const auto contextMenuPaste = [](QLineEdit* e) {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, {2, 2}, e->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(e, &menu);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_P); // "&Paste"
    };
    const std::function<void(QLineEdit*, const QString&)> channels[] = {
        [](QLineEdit* e, const QString&) { QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier); },
        [](QLineEdit* e, const QString&) { QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier); },
        [&](QLineEdit* e, const QString&) { contextMenuPaste(e); },
        [](QLineEdit* e, const QString& text) {
            dropText(e, {e->width() - 2, 2}, text);
        },
        [](QLineEdit* e, const QString& text) { // an input method
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(e, &commit);
        },
    };
    for (QLineEdit* field : {f->Edit_vatno, qobject_cast<QLineEdit*>(grid->indexWidget(cell))}) {
        for (const auto& [pasted, kept] : texts) {
            for (int channel = 0; channel < 5; ++channel) {
                const QString row =
                    QString::number(channel) + " " + pasted.toUtf8().toPercentEncoding() + ": ";
                field->clear();
                QTest::keyClicks(field, QStringLiteral("ab"));
                QGuiApplication::clipboard()->setText(pasted);
                channels[channel](field, pasted);
                QCOMPARE(row + field->text(), row + "ab" + kept);
                if (channel >= 3)
                    continue;
                // A paste is an undo step of its own, as the field's own paste: what is typed
                // after it goes first, then the paste.
                QTest::keyClick(field, Qt::Key_C);
                QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
                QCOMPARE(row + field->text(), row + "ab" + kept);
                QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
                QCOMPARE(row + field->text(), row + "ab");
            }
        }
        // A key whose text is a line or paragraph separator, as a layout or a typing tool may
        // send: the blank between two words.
        for (const QChar separator :
             {QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)}) {
            field->clear();
            QTest::keyClicks(field, QStringLiteral("ab"));
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, {}, QString(separator));
            QApplication::sendEvent(field, &key);
            QTest::keyClicks(field, QStringLiteral("c"));
            QCOMPARE(field->text(), QStringLiteral("ab c"));
        }
    }
}

void KeyboardTest::wholeCheckBoxAreaToggles()
{
    WindowFixture f;
    QTest::mouseClick(f->CheckBox_lizenzen, Qt::LeftButton, {}, QPoint(263, 15)); // far right
    QVERIFY(f->StringGrid_lizenzen->isVisible());
}

void KeyboardTest::assistiveActionsReachTheHandlers()
{
    WindowFixture f;
    TForm_order& w = f.window();
    auto act = [](QWidget* control, const QString& action) {
        QAccessibleActionInterface* actions =
            QAccessible::queryAccessibleInterface(control)->actionInterface();
        QVERIFY2(actions && actions->actionNames().contains(action),
                 qPrintable(control->objectName() + ": " + action));
        actions->doAction(action);
    };

    // What the mouse cannot reach while the licence table is hidden offers no action either.
    for (QAbstractButton* hidden :
         QList<QAbstractButton*>{w.Button_orderupdates, w.Button_upgrade} +
             w.SpinButton_lizenzen->findChildren<QAbstractButton*>()) {
        QAccessibleActionInterface* actions =
            QAccessible::queryAccessibleInterface(hidden)->actionInterface();
        QVERIFY2(!actions || actions->actionNames().isEmpty(), qPrintable(hidden->objectName()));
    }
    // A state set by the program, as loading an order sets it, is no click and shows nothing.
    w.CheckBox_lizenzen->setChecked(true);
    QVERIFY(w.StringGrid_lizenzen->isHidden());
    w.CheckBox_lizenzen->setChecked(false);
    act(w.CheckBox_lizenzen, QAccessibleActionInterface::toggleAction());
    QVERIFY(w.CheckBox_lizenzen->isChecked());
    QVERIFY(w.StringGrid_lizenzen->isVisible());

    QAccessible::queryAccessibleInterface(w.SpinEdit_anzahl)->valueInterface()->setCurrentValue(3);
    QCOMPARE(w.Edit_einzelpreis->text(), QStringLiteral("833.03"));
    act(w.Button_add, QAccessibleActionInterface::pressAction());
    QTRY_COMPARE(w.orderText().count(), 8);
    QAccessibleTableInterface* entries =
        QAccessible::queryAccessibleInterface(w.ComboBox_location)->child(0)->tableInterface();
    // Left with Escape, the list is heard with its entry, not the one last under the cursor.
    act(w.ComboBox_location, QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(w.ComboBox_location->view()->isVisible());
    QTest::keyClick(w.ComboBox_location->view(), Qt::Key_Down);
    QTest::keyClick(w.ComboBox_location->view(), Qt::Key_Escape);
    QCOMPARE(entries->selectedCells().value(0)->text(QAccessible::Name),
             QStringLiteral("European Union"));
    act(w.ComboBox_location, QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(w.ComboBox_location->view()->isVisible());
    // An entry of the open list ("World") picked through its action is a pick as by the mouse.
    entries->cellAt(2, 0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QTRY_VERIFY(w.Edit_vatno->isHidden());
    QCOMPARE(w.ComboBox_location->currentText(), QStringLiteral("World"));
    QVERIFY(!w.ComboBox_location->view()->isVisible());

    // A list hidden for an update neither opens nor takes a pick.
    WindowFixture::choose(w.ComboBox_updateneu, 1);
    QVERIFY(w.ComboBox_lizenztyp->isHidden());
    QAccessibleInterface* type = QAccessible::queryAccessibleInterface(w.ComboBox_lizenztyp);
    QVERIFY(!type->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    type->child(0)->tableInterface()->cellAt(1, 0)->actionInterface()->doAction(
        QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
    QCOMPARE(w.ComboBox_lizenztyp->currentIndex(), 0);
}

void KeyboardTest::amountsAreLegibleAndHeard()
{
    WindowFixture f;
    TForm_order& w = f.window();
    // Relative luminance and contrast ratio as the accessibility guidelines define them.
    auto luminance = [](QRgb rgb) {
        auto channel = [](int c) {
            const double v = c / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
               0.0722 * channel(qBlue(rgb));
    };
    // The background is the commonest colour of the field's picture, the text the colour
    // farthest from it.
    auto contrastOf = [&](QWidget* field) {
        const QImage image = field->grab().toImage();
        QHash<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ++counts[image.pixel(x, y) & RGB_MASK];
        QRgb background = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.value() > counts.value(background))
                background = it.key();
        const QRect text = field->rect().adjusted(3, 3, -3, -3);
        double best = 1;
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x) {
                const double a = luminance(image.pixel(x, y)), b = luminance(background);
                best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
            }
        return best;
    };
    const QPalette light = QApplication::palette();
    const QPalette dark(QColor(0x30, 0x30, 0x30)); // derives light text on dark ground
    for (const QPalette& theme : {light, dark}) {
        QApplication::setPalette(theme);
        QCoreApplication::processEvents();
        for (QLineEdit* amount : {w.Edit_einzelpreis, w.Edit_sumnet, w.Edit_versandkosten})
            QVERIFY2(contrastOf(amount) >= 4.5, qPrintable(amount->objectName()));
    }
    QApplication::setPalette(light);

    // The price is heard on "+" (a new sum is heard as a changed text of its field; the
    // accessibility client test listens for that on the real bus).
    QCOMPARE(QAccessible::queryAccessibleInterface(w.Button_add)->text(QAccessible::Description),
             QStringLiteral("Price net: 383.00 EUR"));
}

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
