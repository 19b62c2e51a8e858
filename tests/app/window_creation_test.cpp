// The order window as created and first activated: controls, captions, lists, tables, tab
// order, the keys that close it, and the defaults with no saved order.
#include "platform/screen_scaling.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QWheelEvent>

namespace {

// Keeps every activation from the window, as a compositor that never gives it the focus.
class WithoutActivation : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::WindowActivate;
    }
};

} // namespace

class WindowCreationTest : public QObject {
    Q_OBJECT
private slots:
    void scalingArithmetic();
    void windowFitsTheAvailableAreaAndScrolls();
    void everyControlHasItsNameAndKind();
    void captionsAndFixedLists();
    void tablesHaveTitlesAndRowNumbers();
    void hiddenAndDisabledControls();
    void tabOrderFollowsTheDesign();
    void activationDefaultsWithoutSavedOrder();
    void activationRunsOnlyOnce();
    void escapeInOrderTextKeepsTheWindowOpen();
    void escapeInSingleLineEditClosesTheWindow();
    void enterInSingleLineEditClicksOk();
    void enterInAddressTableConfirmsTheCell();
};

void WindowCreationTest::scalingArithmetic()
{
    QCOMPARE(ScalePercentFor(96), 100);
    QCOMPARE(ScalePercentFor(120), 125);
    QCOMPARE(ScalePercentFor(144), 150);
    QCOMPARE(ScalePercentFor(72), 75);
    QCOMPARE(ScalePercentFor(97), 101);

    QCOMPARE(ScaledCentredGeometry(100, 1000, 682, 1920, 1080),
             (OuterGeometry{456, 215, 1008, 690}));
    QCOMPARE(ScaledCentredGeometry(125, 1000, 682, 1920, 1080).width, 1258);
    QCOMPARE(ScaledCentredGeometry(125, 1000, 682, 1920, 1080).height, 860);
    QCOMPARE(ScaledCentredGeometry(150, 1000, 682, 1920, 1080).width, 1508);
    QCOMPARE(ScaledCentredGeometry(150, 1000, 682, 1920, 1080).height, 1031);
    // A window wider than the screen: a difference of -5 halves toward zero to -2.
    const OuterGeometry wide = ScaledCentredGeometry(100, 1000, 682, 1003, 700);
    QCOMPARE(wide.left, -2);
    QCOMPARE(wide.top, (700 - 690) / 2 + 20);

    // Placement inside the screen less its task bar, as {left, top, width, height}: a window
    // that fits stays; one reaching out moves in, title bar first; a larger one is cut.
    const OuterGeometry areas[][3] = {
        {{456, 215, 1008, 690}, {0, 0, 1920, 1040}, {456, 215, 1008, 690}},
        {{136, 35, 1008, 690}, {0, 0, 1280, 672}, {136, 0, 1008, 672}},
        {{136, 35, 1008, 690}, {0, 48, 1280, 672}, {136, 48, 1008, 672}},
        {{-24, -55, 1008, 690}, {0, 0, 960, 540}, {0, 0, 960, 540}},
        {{8, 59, 1008, 690}, {0, 0, 1024, 728}, {8, 38, 1008, 690}},
    };
    for (const auto& [window, area, placed] : areas)
        QCOMPARE(FittedIntoArea(window, area), placed);
}

void WindowCreationTest::windowFitsTheAvailableAreaAndScrolls()
{
    // Run once more on a real X server whose desktop keeps a panel above and below: a work
    // area smaller than the screen, as a desktop announces it.
    const bool onPanelScreen = QGuiApplication::platformName() == QLatin1String("xcb");
    if (!onPanelScreen) {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
            QStandardPaths::findExecutable("xprop").isEmpty())
            QSKIP("needs Xvfb and xprop, which scripts/install-deps.sh installs");
        // -noreset: the property must outlive xprop, the server's only client until then.
        const VirtualXServer server({"-noreset", "-screen", "0", "960x720x24"});
        QProcess tool, child;
        tool.setProcessEnvironment(server.environment());
        tool.start("xprop", {"-root", "-format", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA",
                             "0,40,960,640"});
        QVERIFY(tool.waitForFinished(10000) && tool.exitCode() == 0);
        child.setProcessEnvironment(server.environment());
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QTest::currentTestFunction()});
        QVERIFY2(child.waitForFinished(60000) && child.exitCode() == 0, "on a screen with panels");
    }
    WindowFixture f;
    const QRect available = f->screen()->availableGeometry();
    if (onPanelScreen)
        QCOMPARE(available, QRect(0, 40, 960, 640));
    QVERIFY2(available.width() < 1008, "the test screen is expected narrower than the window");
    QVERIFY(available.contains(f->geometry()));
    // With the frame the window is placed for, its title bar and its bottom edge are on the
    // available area too (no window manager draws one here).
    QVERIFY(f->frameGeometry().top() >= available.top());
    QVERIFY(f->frameGeometry().top() + f->height() + kFrameHeight - 1 <= available.bottom());
    auto* area = f->findChild<QScrollArea*>();
    QVERIFY(area);
    auto shown = [&](QWidget* control) {
        return area->viewport()->rect().contains(
            QRect(control->mapTo(area->viewport(), QPoint()), control->size()));
    };
    // Tab to "Help", out of view, brings it into view; the scroll bars reach the far corner.
    QVERIFY(!shown(f->Button_help));
    f->CheckBox_lizenzen->setFocus();
    QTest::keyClick(f->CheckBox_lizenzen, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f->Button_help);
    QVERIFY(shown(f->Button_help));
    QVERIFY(!shown(f->Button_ok));
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    QVERIFY(shown(f->Button_ok));
    // Tab into the address table shows the whole table, not only the editor of its cell.
    f->resize(400, 250);
    area->verticalScrollBar()->setValue(0);
    f->ComboBox_zahlung->setFocus();
    QTest::keyClick(f->ComboBox_zahlung, Qt::Key_Tab);
    QVERIFY(shown(f->StringGrid_adresse));
    // Keys a field leaves alone do not scroll it out of view.
    f->Edit_vatno->setFocus();
    const int scrolled = area->verticalScrollBar()->value();
    QTest::keyClick(f->Edit_vatno, Qt::Key_PageDown);
    QCOMPARE(area->verticalScrollBar()->value(), scrolled);

    // The wheel over a list or the number field without the focus scrolls the window and
    // leaves the choice and its price; with the focus it changes the choice. Only a wheel event
    // from the system goes on to the control's parents, and sendEvent would say it is not.
    const auto wheelDown = [](QWidget* control) {
        QWheelEvent wheel({4, 4}, control->mapToGlobal(QPointF(4, 4)), {}, {0, -120}, Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(control, &wheel);
    };
    const QString price = f->Edit_einzelpreis->text();
    // The focus the window hands its first list as it opens is not the customer's choice either.
    f->ComboBox_paket->setFocus(Qt::ActiveWindowFocusReason);
    for (QWidget* control :
         QList<QWidget*>{f->ComboBox_paket, f->ComboBox_programm, f->SpinEdit_anzahl}) {
        area->verticalScrollBar()->setValue(0);
        wheelDown(control);
        QVERIFY2(area->verticalScrollBar()->value() > 0, control->objectName().toLatin1());
        QVERIFY(f->ComboBox_paket->hasFocus());
    }
    QCOMPARE(f->ComboBox_paket->currentIndex(), 0);
    QCOMPARE(f->ComboBox_programm->currentIndex(), 0);
    QCOMPARE(f->SpinEdit_anzahl->value(), 1);
    QCOMPARE(f->Edit_einzelpreis->text(), price);
    f->ComboBox_programm->setFocus();
    wheelDown(f->ComboBox_programm);
    QCOMPARE(f->ComboBox_programm->currentIndex(), 1);
    QVERIFY(f->Edit_einzelpreis->text() != price);
}

void WindowCreationTest::everyControlHasItsNameAndKind()
{
    WindowFixture f;
    // What a screen reader hears of a control: its caption as its name, its kind, and what it
    // holds as its value (a list's entry, a field's text).
    struct Control {
        const char* name;
        const char* kind;
        const char* heardAs = nullptr;
        QAccessible::Role role = QAccessible::NoRole;
        const char* value = nullptr;
    };
    const QList<Control> controls = {
        {"Label_ordervelmaro", "QLabel"},
        {"Label_paketlizno", "QLabel"},
        {"Label3", "QLabel"},
        {"Label_programm", "QLabel"},
        {"Label_updateneu", "QLabel"},
        {"Label_lizenztyp", "QLabel"},
        {"Label_anzahl", "QLabel"},
        {"label_Language", "QLabel"},
        {"Label_lizno", "QLabel"},
        {"Label_einzelpreis", "QLabel"},
        {"Label_sumnet", "QLabel"},
        {"ComboBox_paket", "QComboBox", "Software/Bundle", QAccessible::ComboBox, "Program"},
        {"ComboBox_programm", "QComboBox", "Software", QAccessible::ComboBox, "Qorvex"},
        {"ComboBox_updateneu", "QComboBox", "New/Update", QAccessible::ComboBox, "New"},
        {"ComboBox_lizenztyp", "QComboBox", "License", QAccessible::ComboBox, "Individual"},
        {"SpinEdit_anzahl", "QSpinBox", "Number", QAccessible::SpinBox, "1"},
        {"ComboBox_language", "QComboBox", "Language", QAccessible::ComboBox, "English"},
        {"Edit_lizno", "QLineEdit", "Lic.No.", QAccessible::EditableText, ""},
        {"Edit_einzelpreis", "QLineEdit", "Price net", QAccessible::EditableText, "383.00"},
        {"Label2", "QLabel"},
        {"Button_add", "QPushButton", "Add item to the order", QAccessible::Button, ""},
        {"Edit_sumnet", "QLineEdit", "sum net", QAccessible::EditableText, "0"},
        {"Label1", "QLabel"},
        {"GroupBox2", "QGroupBox"},
        {"GroupBox1", "QGroupBox"},
        {"Memo1", "QPlainTextEdit", "Order text", QAccessible::EditableText, ""},
        {"Button_zahlung", "QPushButton", "Complete the order with totals and address",
         QAccessible::Button, ""},
        {"StringGrid_adresse", "StringGrid", "Address", QAccessible::Table, nullptr},
        {"StringGrid_lizenzen", "StringGrid", "My licenses", QAccessible::Table, nullptr},
        {"Button_orderupdates", "QPushButton", "Order Updates", QAccessible::Button, ""},
        {"Button_upgrade", "QPushButton", "Upgrade inquiry", QAccessible::Button, ""},
        {"Label_help", "QLabel"},
        {"SpinButton_lizenzen", "SpinButton", "Rows of my licenses", QAccessible::Client, ""},
        {"Button_clear", "QPushButton", "Clear", QAccessible::Button, ""},
        {"Button_clipboard", "QPushButton", "Clipboard", QAccessible::Button, ""},
        {"Button_notepad", "QPushButton", "Notepad", QAccessible::Button, ""},
        {"Button_email", "QPushButton", "Email", QAccessible::Button, ""},
        {"CheckBox_lizenzen", "QCheckBox", "My Licenses", QAccessible::CheckBox, ""},
        {"Button_save", "QPushButton"},
        {"Button_load", "QPushButton"},
        {"Button_help", "QPushButton", "Help", QAccessible::Button, ""},
        {"Button_cancel", "QPushButton", "Cancel", QAccessible::Button, ""},
        {"Button_ok", "QPushButton", "OK", QAccessible::Button, ""},
        {"Label_location", "QLabel"},
        {"ComboBox_location", "QComboBox", "Location", QAccessible::ComboBox, "European Union"},
        {"Label_vatno", "QLabel"},
        {"Edit_vatno", "QLineEdit", "European VAT No.", QAccessible::EditableText, ""},
        {"Label_versand", "QLabel"},
        {"ComboBox_versand", "QComboBox", "Delivery", QAccessible::ComboBox, "Email / Download"},
        {"Label_versandkosten", "QLabel"},
        {"Edit_versandkosten", "QLineEdit", "Postage cost", QAccessible::EditableText, "0.00"},
        {"Label4", "QLabel"},
        {"Label_zahlung", "QLabel"},
        {"ComboBox_zahlung", "QComboBox", "Payment", QAccessible::ComboBox, "Bank transfer"},
        {"Label_zahlungstext", "QLabel"},
        {"Label_zahlungstext2", "QLabel"},
        {"Label_zahlungstext3", "QLabel"},
        {"Edit_visa1", "QLineEdit"},
        {"Edit_visa2", "QLineEdit"},
        {"Edit_visa3", "QLineEdit"},
        {"Edit_visa4", "QLineEdit"},
        {"Edit_expdate", "QLineEdit"},
        {"Edit_cardholder", "QLineEdit", "Card holder", QAccessible::EditableText, ""},
    };
    for (const Control& c : controls) {
        QWidget* control = f->findChild<QWidget*>(QString::fromLatin1(c.name));
        QVERIFY2(control, c.name);
        QVERIFY2(control->inherits(c.kind), c.name);
        if (!c.heardAs)
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        QCOMPARE(accessible->text(QAccessible::Name), QString::fromUtf8(c.heardAs));
        QCOMPARE(accessible->role(), c.role);
        if (c.value)
            QCOMPARE(accessible->text(QAccessible::Value), QString::fromUtf8(c.value));
        // The accessibility bus carries no value text for a list: a screen reader hears the
        // entry as the selected one of the list's children.
        if (c.role == QAccessible::ComboBox) {
            const auto picked = accessible->child(0)->tableInterface()->selectedCells();
            QCOMPARE(picked.size(), 1);
            QCOMPARE(picked.first()->text(QAccessible::Name), QString::fromUtf8(c.value));
            QVERIFY2(!picked.first()->state().focused, c.name);
        }
    }
    // A list's name follows its caption.
    WindowFixture::choose(f->ComboBox_paket, 1);
    QCOMPARE(QAccessible::queryAccessibleInterface(f->ComboBox_programm)->text(QAccessible::Name),
             QStringLiteral("Bundle"));
    // Table cells read as their text; the address table's row titles name its rows.
    f->StringGrid_adresse->setCell(1, 1, QStringLiteral("Ines Marlow"));
    QAccessibleTableInterface* address =
        QAccessible::queryAccessibleInterface(f->StringGrid_adresse)->tableInterface();
    QCOMPARE(address->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("Ines Marlow"));
    QCOMPARE(address->rowDescription(1), QStringLiteral("Name"));
    for (const char* name : {"Label_location", "ComboBox_location", "Edit_vatno", "Edit_visa1",
                             "Edit_cardholder", "Label_zahlungstext3"})
        QCOMPARE(f->findChild<QWidget*>(QString::fromLatin1(name))->parentWidget(), f->GroupBox1);
    QCOMPARE(f->Edit_visa1->maxLength(), 4);
    QCOMPARE(f->Edit_expdate->maxLength(), 5);
    QCOMPARE(f->SpinEdit_anzahl->minimum(), 1);
    QCOMPARE(f->SpinEdit_anzahl->maximum(), 100);
    QVERIFY(f->Button_ok->isDefault());
    QCOMPARE(f->Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
}

void WindowCreationTest::captionsAndFixedLists()
{
    WindowFixture f;
    QCOMPARE(QApplication::applicationName(), QStringLiteral("VELMARO Order Software"));
    QCOMPARE(f->windowTitle(), QStringLiteral("VELMARO Order Software V6.1"));
    const QList<QPair<QString, QString>> captions = {
        {f->Label_ordervelmaro->text(), "VELMARO Software Purchase Order"},
        {f->GroupBox1->title(), " Delivery and Payment "},
        {f->Label_versand->text(), "Delivery"},
        {f->Label_versandkosten->text(), "Postage cost"},
        {f->Label_location->text(), "Location"},
        {f->Label_zahlung->text(), "Payment"},
        {f->Label_einzelpreis->text(), "Price net"},
        {f->Label_sumnet->text(), "sum net"},
        {f->Label_updateneu->text(), "New/Update"},
        {f->Label_lizenztyp->text(), "License"},
        {f->Label_anzahl->text(), "Number"},
        {f->label_Language->text(), "Language"},
        {f->Label_lizno->text(), "Lic.No."},
        {f->Label_vatno->text(), "European VAT No."},
        {f->Label3->text(), "Software/Bundle"},
        {f->Button_orderupdates->text(), "Order Updates"},
        {f->Button_upgrade->text(), "Upgrade inquiry"},
        {f->Button_cancel->text(), "Cancel"},
        {f->Button_help->text(), "Help"},
        {f->Button_ok->text(), "OK"},
        {f->Button_add->text(), "+"},
        {f->Button_zahlung->text(), "---->"},
        {f->Button_clear->text(), "Clear"},
        {f->Button_clipboard->text(), "Clipboard"},
        {f->Button_notepad->text(), "Notepad"},
        {f->Button_email->text(), "Email"},
        {f->CheckBox_lizenzen->text(), "My Licenses"},
    };
    for (const auto& [actual, expected] : captions)
        QCOMPARE(actual, expected);
    QCOMPARE(f->Label_help->text().split(QLatin1Char('\n')),
             QStringList({"1. select program(s), license, language, then click \"+\" button "
                          "(repeat for further)",
                          "2. input delivery, payment and address data, then click --> button",
                          "3. click Email button to generate email",
                          "4. if not succesful: run your email program and copy text via "
                          "clipboard",
                          "5. Send Email"}));

    QCOMPARE(entries(f->ComboBox_paket), QStringList({"Program", "Bundle"}));
    QCOMPARE(entries(f->ComboBox_updateneu),
             QStringList({"New", "Update (Win32/64)", "Update Win64"}));
    QCOMPARE(entries(f->ComboBox_lizenztyp), QStringList({"Individual", "Network Floating"}));
    QCOMPARE(entries(f->ComboBox_location),
             QStringList({"Deutschland", "European Union", "World"}));
    QCOMPARE(entries(f->ComboBox_versand), QStringList({"Email / Download", "CD-ROM"}));
    QCOMPARE(entries(f->ComboBox_zahlung), QStringList({"Bank transfer", "PayPal"}));
}

void WindowCreationTest::tablesHaveTitlesAndRowNumbers()
{
    WindowFixture f;
    StringGrid* licences = f->StringGrid_lizenzen;
    QCOMPARE(licences->colCount(), 6);
    QCOMPARE(licences->rowCount(), 9);
    QCOMPARE(licences->cell(0, 0), QString());
    const QStringList titles = {"Program", "Lic.No.", "Version", "User", "..."};
    for (int col = 1; col <= 5; ++col) {
        QCOMPARE(licences->cell(col, 0), titles[col - 1]);
        QCOMPARE(licences->model()->headerData(col - 1, Qt::Horizontal).toString(),
                 titles[col - 1]);
    }
    // Rows 1 to 8 are shown; row 9 is held past them and already numbered.
    QCOMPARE(licences->model()->rowCount(), 8);
    for (int row = 1; row <= 9; ++row)
        QCOMPARE(licences->cell(0, row), QString::number(row));
    QCOMPARE(licences->model()->headerData(7, Qt::Vertical).toString(), QStringLiteral("8"));
    QCOMPARE(licences->cell(0, 10), QString());

    StringGrid* address = f->StringGrid_adresse;
    QCOMPARE(address->colCount(), 2);
    QCOMPARE(address->rowCount(), 6);
    QCOMPARE(address->model()->rowCount(), 6);
    const QStringList labels = {"Company", "Name", "Adress", "", "", "Email"};
    for (int row = 0; row < 6; ++row) {
        QCOMPARE(address->cell(0, row), labels[row]);
        QCOMPARE(address->cell(1, row), QString());
    }
}

void WindowCreationTest::hiddenAndDisabledControls()
{
    WindowFixture f;
    // Amounts are read, not typed, and not passed on the way through the window.
    for (QLineEdit* amount : {f->Edit_einzelpreis, f->Edit_sumnet, f->Edit_versandkosten}) {
        QVERIFY2(amount->isEnabled() && amount->isReadOnly(), qPrintable(amount->objectName()));
        QCOMPARE(amount->focusPolicy(), Qt::NoFocus);
    }
    QVERIFY(f->Button_save->isHidden());
    QVERIFY(f->Button_load->isHidden());
    for (QLineEdit* card : {f->Edit_visa1, f->Edit_visa2, f->Edit_visa3, f->Edit_visa4,
                            f->Edit_expdate, f->Edit_cardholder})
        QVERIFY2(card->isHidden(), qPrintable(card->objectName()));
    for (QWidget* control : {f->Button_save, f->Button_load})
        QVERIFY2(!(control->focusPolicy() & Qt::TabFocus), qPrintable(control->objectName()));
}

void WindowCreationTest::tabOrderFollowsTheDesign()
{
    WindowFixture f;
    QStringList chain;
    QWidget* w = f->ComboBox_paket;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != f->ComboBox_paket && chain.size() < 100);
    const QStringList expected = {"ComboBox_paket",
                                  "ComboBox_programm",
                                  "ComboBox_updateneu",
                                  "ComboBox_lizenztyp",
                                  "SpinEdit_anzahl",
                                  "ComboBox_language",
                                  "Edit_lizno",
                                  "Memo1",
                                  "Button_add",
                                  "StringGrid_lizenzen",
                                  "ComboBox_location",
                                  "Edit_vatno",
                                  "ComboBox_versand",
                                  "ComboBox_zahlung",
                                  "Edit_visa1",
                                  "Edit_visa2",
                                  "Edit_visa3",
                                  "Edit_visa4",
                                  "Edit_expdate",
                                  "Edit_cardholder",
                                  "SpinButton_lizenzen",
                                  "StringGrid_adresse",
                                  "Button_zahlung",
                                  "CheckBox_lizenzen",
                                  "Button_help",
                                  "Button_clear",
                                  "Button_clipboard",
                                  "Button_notepad",
                                  "Button_email",
                                  "Button_orderupdates",
                                  "Button_upgrade",
                                  "Button_cancel",
                                  "Button_ok"};
    // Widgets the toolkit puts in the chain on its own (a spin box's line edit, the grids'
    // viewports and headers) carry no name and are left out.
    chain.removeAll(QString());
    chain.removeIf([](const QString& name) { return name.startsWith(QLatin1String("qt_")); });
    QCOMPARE(chain, expected);
}

void WindowCreationTest::activationDefaultsWithoutSavedOrder()
{
    WindowFixture f;
    QVERIFY(f->activated());
    QCOMPARE(f->ComboBox_paket->currentText(), QStringLiteral("Program"));
    QCOMPARE(f->ComboBox_programm->currentIndex(), 0);
    QCOMPARE(f->Label_programm->text(), QStringLiteral("Software"));
    QCOMPARE(f->ComboBox_updateneu->currentText(), QStringLiteral("New"));
    QCOMPARE(f->ComboBox_lizenztyp->currentText(), QStringLiteral("Individual"));
    QCOMPARE(f->SpinEdit_anzahl->text(), QStringLiteral("1"));
    QCOMPARE(f->ComboBox_language->currentText(), QStringLiteral("English"));
    QCOMPARE(f->Edit_einzelpreis->text(), QStringLiteral("383.00"));
    QVERIFY(f->Edit_lizno->isHidden());
    QCOMPARE(f->ComboBox_location->currentText(), QStringLiteral("European Union"));
    QVERIFY(f->Edit_vatno->isVisible());
    QVERIFY(f->Label_vatno->isVisible());
    QCOMPARE(f->Edit_vatno->text(), QString());
    QCOMPARE(f->ComboBox_versand->currentText(), QStringLiteral("Email / Download"));
    QCOMPARE(f->Edit_versandkosten->text(), QStringLiteral("0.00"));
    QCOMPARE(f->ComboBox_zahlung->currentText(), QStringLiteral("Bank transfer"));
    QCOMPARE(f->Label_zahlungstext->text(), QStringLiteral("bank transfer"));
    QCOMPARE(f->Memo1->toPlainText(), QString());
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("0"));
    QVERIFY(f->Label_help->isVisible());
    QVERIFY(f->StringGrid_lizenzen->isHidden());
    QVERIFY(f->SpinButton_lizenzen->isHidden());
    QVERIFY(f->Button_orderupdates->isHidden());
    QVERIFY(f->Button_upgrade->isHidden());
    QVERIFY(!f->savedFlag());
    QVERIFY(!f->mailedFlag());
    QVERIFY(f->netSum().isZero());
}

void WindowCreationTest::activationRunsOnlyOnce()
{
    WindowFixture f;
    WindowFixture::choose(f->ComboBox_location, 2);
    f->SpinEdit_anzahl->setValue(3);
    f->Memo1->setPlainText(QStringLiteral("kept\n"));
    // Another window takes the focus and gives it back, as a message box or another program.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window()));
    QCOMPARE(f->ComboBox_location->currentIndex(), 2);
    QCOMPARE(f->SpinEdit_anzahl->value(), 3);
    QCOMPARE(f->Memo1->toPlainText(), QStringLiteral("kept\n"));

    // A window the desktop never activates (a Wayland compositor may withhold the focus) still
    // runs the sequence, once, just after its first show, with the saved order loaded.
    f.window().close();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    RecordingDesktop desktop;
    TForm_order unfocused(desktop);
    WithoutActivation compositor;
    unfocused.installEventFilter(&compositor);
    unfocused.show();
    QVERIFY(!unfocused.activated());
    QTRY_VERIFY(unfocused.activated());
    QCOMPARE(unfocused.ComboBox_location->currentText(), QStringLiteral("European Union"));
    QCOMPARE(unfocused.Edit_einzelpreis->text(), QStringLiteral("383.00"));
}

void WindowCreationTest::escapeInOrderTextKeepsTheWindowOpen()
{
    WindowFixture f;
    f->Memo1->setFocus();
    QTest::keyClicks(f->Memo1, QStringLiteral("line"));
    QTest::keyClick(f->Memo1, Qt::Key_Escape);
    QVERIFY(f->isVisible());
    QCOMPARE(f->Memo1->toPlainText(), QStringLiteral("line"));
    QTest::keyClick(f->Memo1, Qt::Key_Return);
    QVERIFY(f->isVisible());
    QCOMPARE(f->Memo1->toPlainText(), QStringLiteral("line\n"));
    QVERIFY(f.desktop.confirmations.isEmpty());
}

void WindowCreationTest::escapeInSingleLineEditClosesTheWindow()
{
    WindowFixture f;
    f->Edit_vatno->setFocus();
    QTest::keyClicks(f->Edit_vatno, QStringLiteral("DE1"));
    QTest::keyClick(f->Edit_vatno, Qt::Key_Escape);
    QVERIFY(!f->isVisible());
    // No prompt: Escape ends the program at once.
    QVERIFY(f.desktop.confirmations.isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("order.qzo")));
}

void WindowCreationTest::enterInSingleLineEditClicksOk()
{
    WindowFixture f;
    bool okClicked = false;
    QObject::connect(f->Button_ok, &QPushButton::clicked, [&] { okClicked = true; });
    f.desktop.answers = {Desktop::Answer::Cancel};
    f->Edit_vatno->setFocus();
    QTest::keyClick(f->Edit_vatno, Qt::Key_Return);
    QVERIFY(okClicked);
}

void WindowCreationTest::enterInAddressTableConfirmsTheCell()
{
    WindowFixture f;
    StringGrid* address = f->StringGrid_adresse;
    address->setFocus();
    address->setCurrentIndex(address->model()->index(1, 0));
    QTest::keyClick(address, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != address);
    QTest::keyClicks(editor, QStringLiteral("Ann Example"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(address->cell(1, 1), QStringLiteral("Ann Example"));
    // The cell is confirmed and the next one below is current; the window stays open.
    QCOMPARE(address->currentIndex().row(), 2);
    // The cell that became current is open for typing at once; Enter on it moves on again.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Harbour Street 5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(address->currentIndex().row(), 3);
    QCOMPARE(address->cell(1, 2), QStringLiteral("Harbour Street 5"));
    QVERIFY(f->isVisible());
    QVERIFY(f.desktop.confirmations.isEmpty());
}

QTEST_MAIN(WindowCreationTest)
#include "window_creation_test.moc"
