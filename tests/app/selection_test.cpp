// The selection row as the customer uses it: list refills, the controls that follow the item
// kind, the language choice across items, and the price shown for each composition.
#include "controls/eliding_combo_box.h"
#include "core/catalogue.h"
#include "window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStyleOption>
#include <QTest>
#include <QWheelEvent>

#include <functional>

namespace {

QStringList bundleNames()
{
    QStringList names;
    for (const velmaro::Bundle& bundle : velmaro::Bundles())
        names << QString::fromUtf8(bundle.name.data(), qsizetype(bundle.name.size()));
    return names;
}

QStringList programNames()
{
    QStringList names;
    for (const velmaro::Program& program : velmaro::Programs())
        names << QString::fromUtf8(program.name.data(), qsizetype(program.name.size()));
    return names;
}

// Replaces the number field's text by typing, one keystroke at a time.
void typeNumber(WindowFixture& f, const QString& text)
{
    f->SpinEdit_anzahl->setFocus();
    f->SpinEdit_anzahl->selectAll();
    QTest::keyClick(f->SpinEdit_anzahl, Qt::Key_Delete);
    QTest::keyClicks(f->SpinEdit_anzahl, text);
}

void clickArrow(QSpinBox* box, QStyle::SubControl arrow)
{
    QStyleOptionSpinBox option;
    option.initFrom(box);
    const QRect r = box->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, r.center());
}

enum { kProgram = 0, kBundle = 1 };
enum { kNew = 0, kUpdate = 1, kUpdateWin64 = 2 };
enum { kIndividual = 0, kNetworkFloating = 1 };

} // namespace

class SelectionTest : public QObject {
    Q_OBJECT
private slots:
    void newLicencePricesFollowNumberAndType();
    void updatePricesIgnoreNumberAndType();
    void licenceControlsFollowTheKindAndKeepTheirContent();
    void switchBetweenProgramsAndBundles();
    void onlyDeutschOrEnglishSurviveAChangeOfItem();
    void typingRepricesAtEveryKeystroke();
    void longNamesShowCutWithTheWholeNameAsTooltip();
    void everyWayOfChangingTheNumberReprices();
};

void SelectionTest::newLicencePricesFollowNumberAndType()
{
    WindowFixture f;
    const struct {
        int paket;
        int row;
        int type;
        const char* number;
        const char* price;
    } cases[] = {
        {kProgram, 0, kIndividual, "1", "383.00"},
        {kProgram, 0, kIndividual, "2", "574.50"},
        {kProgram, 0, kIndividual, "10", "2,106.50"},
        {kProgram, 0, kIndividual, "11", "2,317.15"},
        {kProgram, 0, kNetworkFloating, "1", "574.50"},
        {kProgram, 0, kNetworkFloating, "2", "919.20"},
        {kProgram, 0, kNetworkFloating, "3", "1,149.00"},
        {kBundle, 8, kIndividual, "1", "14,950.00"},
        {kBundle, 0, kNetworkFloating, "3", "2,223.00"},
        {kBundle, 0, kIndividual, "5", "2,500.88"},
    };
    for (const auto& c : cases) {
        WindowFixture::choose(f->ComboBox_paket, c.paket);
        WindowFixture::choose(f->ComboBox_programm, c.row);
        WindowFixture::choose(f->ComboBox_lizenztyp, c.type);
        typeNumber(f, QString::fromLatin1(c.number));
        QVERIFY2(f->Edit_einzelpreis->text() == QLatin1String(c.price),
                 qPrintable(QStringLiteral("%1 %2 %3 x%4: %5")
                                .arg(c.paket)
                                .arg(c.row)
                                .arg(c.type)
                                .arg(c.number, f->Edit_einzelpreis->text())));
    }
    // The amount itself keeps the half cent; only its text is rounded.
    QCOMPARE(f->itemPrice(), velmaro::Money::fromUnits(250'087'500'000));
}

void SelectionTest::updatePricesIgnoreNumberAndType()
{
    WindowFixture f;
    const struct {
        int paket;
        int row;
        int type;
        const char* number;
        int kind;
        const char* price;
    } cases[] = {
        {kProgram, 0, kIndividual, "1", kUpdate, "40.00"},
        {kProgram, 0, kNetworkFloating, "7", kUpdate, "40.00"},
        {kProgram, 3, kIndividual, "12", kUpdateWin64, "50.00"},
        {kProgram, 1, kNetworkFloating, "3", kUpdateWin64, "50.00"},
        {kBundle, 1, kNetworkFloating, "4", kUpdateWin64, "130.00"},
        {kBundle, 1, kIndividual, "1", kUpdate, "120.00"},
    };
    for (const auto& c : cases) {
        WindowFixture::choose(f->ComboBox_updateneu, kNew);
        WindowFixture::choose(f->ComboBox_paket, c.paket);
        WindowFixture::choose(f->ComboBox_programm, c.row);
        WindowFixture::choose(f->ComboBox_lizenztyp, c.type);
        typeNumber(f, QString::fromLatin1(c.number));
        WindowFixture::choose(f->ComboBox_updateneu, c.kind);
        QVERIFY2(f->Edit_einzelpreis->text() == QLatin1String(c.price),
                 qPrintable(QStringLiteral("%1 %2 kind %3: %4")
                                .arg(c.paket)
                                .arg(c.row)
                                .arg(c.kind)
                                .arg(f->Edit_einzelpreis->text())));
    }
}

void SelectionTest::licenceControlsFollowTheKindAndKeepTheirContent()
{
    WindowFixture f;
    WindowFixture::choose(f->ComboBox_lizenztyp, kNetworkFloating);
    typeNumber(f, QStringLiteral("4"));

    for (int kind : {kUpdate, kUpdateWin64}) {
        WindowFixture::choose(f->ComboBox_updateneu, kind);
        QVERIFY(f->Edit_lizno->isVisible());
        QVERIFY(f->SpinEdit_anzahl->isHidden());
        QVERIFY(f->ComboBox_lizenztyp->isHidden());
    }
    QTest::keyClicks(f->Edit_lizno, QStringLiteral("4711"));

    WindowFixture::choose(f->ComboBox_updateneu, kNew);
    QVERIFY(f->Edit_lizno->isHidden());
    QVERIFY(f->SpinEdit_anzahl->isVisible());
    QVERIFY(f->ComboBox_lizenztyp->isVisible());
    QCOMPARE(f->SpinEdit_anzahl->text(), QStringLiteral("4"));
    QCOMPARE(f->ComboBox_lizenztyp->currentIndex(), int(kNetworkFloating));
    QCOMPARE(f->Edit_einzelpreis->text(), QStringLiteral("1,378.80"));
    QCOMPARE(f->Edit_lizno->text(), QStringLiteral("4711"));
    // The headings stay, whatever their control does.
    for (QLabel* label : {f->Label_lizno, f->Label_anzahl, f->Label_lizenztyp})
        QVERIFY2(label->isVisible(), qPrintable(label->objectName()));

    WindowFixture::choose(f->ComboBox_updateneu, kUpdate);
    QCOMPARE(f->Edit_lizno->text(), QStringLiteral("4711"));
}

void SelectionTest::switchBetweenProgramsAndBundles()
{
    WindowFixture f;
    QCOMPARE(entries(f->ComboBox_programm), programNames());
    WindowFixture::choose(f->ComboBox_programm, 3);
    const QStringList programLanguages = entries(f->ComboBox_language);
    QCOMPARE(programLanguages.size(), 4);
    const velmaro::Money programPrice = f->itemPrice();

    WindowFixture::choose(f->ComboBox_paket, kBundle);
    QCOMPARE(f->Label_programm->text(), QStringLiteral("Bundle"));
    QCOMPARE(entries(f->ComboBox_programm), bundleNames());
    QCOMPARE(f->ComboBox_programm->currentIndex(), -1);
    QCOMPARE(f->Edit_einzelpreis->text(), QString());
    QCOMPARE(f->itemPrice(), programPrice);
    // The language list and the package number wait for a pick.
    QCOMPARE(entries(f->ComboBox_language), programLanguages);
    QCOMPARE(f->ComboBox_language->currentText(), QStringLiteral("English"));
    QCOMPARE(f->Label_paketlizno->text(), QString());

    WindowFixture::choose(f->ComboBox_programm, 2);
    QCOMPARE(f->Label_paketlizno->text(), QStringLiteral("BX2260"));
    QCOMPARE(entries(f->ComboBox_language), QStringList({"Deutsch", "English"}));
    QCOMPARE(f->Edit_einzelpreis->text(), QStringLiteral("1,980.00"));

    WindowFixture::choose(f->ComboBox_paket, kProgram);
    QCOMPARE(f->Label_programm->text(), QStringLiteral("Software"));
    QCOMPARE(entries(f->ComboBox_programm), programNames());
    QCOMPARE(f->ComboBox_programm->currentIndex(), -1);
    QCOMPARE(f->Edit_einzelpreis->text(), QString());
    QCOMPARE(f->itemPrice(), velmaro::Money::fromEuros(1980));
    QCOMPARE(f->Label_paketlizno->text(), QStringLiteral("BX2260"));

    WindowFixture::choose(f->ComboBox_programm, 0);
    QCOMPARE(f->Label_paketlizno->text(), QString());
    QCOMPARE(f->Edit_einzelpreis->text(), QStringLiteral("383.00"));
}

void SelectionTest::onlyDeutschOrEnglishSurviveAChangeOfItem()
{
    WindowFixture f;
    QCOMPARE(entries(f->ComboBox_language), QStringList({"Deutsch", "English"}));
    QCOMPARE(f->ComboBox_language->currentText(), QStringLiteral("English"));

    WindowFixture::choose(f->ComboBox_programm, 3);
    QCOMPARE(entries(f->ComboBox_language),
             QStringList({"Deutsch", "English", "Francais", "Italiano"}));
    QCOMPARE(f->ComboBox_language->currentText(), QStringLiteral("English"));

    WindowFixture::choose(f->ComboBox_language, 0);
    WindowFixture::choose(f->ComboBox_programm, 2);
    QCOMPARE(f->ComboBox_language->currentText(), QStringLiteral("Deutsch"));

    // Francais has to be chosen again, even where the next program offers it as well.
    WindowFixture::choose(f->ComboBox_language, 2);
    WindowFixture::choose(f->ComboBox_programm, 3);
    QCOMPARE(f->ComboBox_language->count(), 4);
    QCOMPARE(f->ComboBox_language->currentIndex(), -1);
    QCOMPARE(f->ComboBox_language->currentText(), QString());

    // And a list without selection stays so.
    WindowFixture::choose(f->ComboBox_programm, 0);
    QCOMPARE(f->ComboBox_language->currentIndex(), -1);
}

void SelectionTest::typingRepricesAtEveryKeystroke()
{
    WindowFixture f;
    const struct {
        Qt::Key key;
        const char* text;
        const char* price;
    } steps[] = {
        {Qt::Key_2, "2", "574.50"},         {Qt::Key_Backspace, "", "383.00"},
        {Qt::Key_1, "1", "383.00"},         {Qt::Key_0, "10", "2,106.50"},
        {Qt::Key_0, "100", "21,065.00"},    {Qt::Key_Backspace, "10", "2,106.50"},
        {Qt::Key_Backspace, "1", "383.00"},
    };
    f->SpinEdit_anzahl->setFocus();
    f->SpinEdit_anzahl->selectAll();
    for (const auto& step : steps) {
        QTest::keyClick(f->SpinEdit_anzahl, step.key);
        QCOMPARE(f->SpinEdit_anzahl->text(), QLatin1String(step.text));
        QCOMPARE(f->Edit_einzelpreis->text(), QLatin1String(step.price));
    }
    // The largest count the field takes, for the dearest bundle as floating licences (14,950.00
    // less 35 %, 999,999 times); a seventh digit is refused.
    WindowFixture::choose(f->ComboBox_paket, kBundle);
    WindowFixture::choose(f->ComboBox_programm, 8);
    WindowFixture::choose(f->ComboBox_lizenztyp, kNetworkFloating);
    typeNumber(f, QStringLiteral("9999999"));
    QCOMPARE(f->SpinEdit_anzahl->text(), QStringLiteral("999999"));
    QCOMPARE(f->Edit_einzelpreis->text(), QStringLiteral("9,717,490,282.50"));
}

void SelectionTest::longNamesShowCutWithTheWholeNameAsTooltip()
{
    WindowFixture f;
    auto* list = qobject_cast<ElidingComboBox*>(f->ComboBox_programm);
    QVERIFY(list);
    WindowFixture::choose(f->ComboBox_paket, kBundle);
    for (const int row : {8, 5, 1}) {
        WindowFixture::choose(list, row);
        const QString name = bundleNames()[row], shown = list->shownText();
        const bool cut = row != 1;
        QVERIFY2(cut ? shown.endsWith(QChar(0x2026)) && name.startsWith(shown.chopped(1))
                     : shown == name,
                 qPrintable(shown));
        QCOMPARE(list->toolTip(), cut ? name : QString());
    }
    // A cell of the licence table, one column wide.
    StringGrid* grid = f->StringGrid_lizenzen;
    grid->setCell(1, 1, bundleNames()[8]);
    grid->setCell(1, 2, programNames()[0]);
    QCOMPARE(grid->cellToolTip(grid->model()->index(0, 0)), bundleNames()[8]);
    QCOMPARE(grid->cellToolTip(grid->model()->index(1, 0)), QString());
}

void SelectionTest::everyWayOfChangingTheNumberReprices()
{
    // Under Arabic settings too the number keeps Western digits, as the amounts do.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    WindowFixture f;
    QSpinBox* box = f->SpinEdit_anzahl;
    const auto up = [box] { clickArrow(box, QStyle::SC_SpinBoxUp); };
    const auto key = [box](Qt::Key k) { return [box, k] { QTest::keyClick(box, k); }; };
    const auto type = [&f](const char* t) { return [&f, t] { typeNumber(f, t); }; };
    QWheelEvent wheel({4, 4}, {4, 4}, {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    const struct {
        const char* channel;
        std::function<void()> act;
        const char* numberAndPrice;
    } steps[] = {
        {"up arrow", up, "2 574.50"},
        {"down arrow", [box] { clickArrow(box, QStyle::SC_SpinBoxDown); }, "1 383.00"},
        {"Up key", key(Qt::Key_Up), "2 574.50"},
        {"PageUp key", key(Qt::Key_PageUp), "12 2,527.80"},
        {"wheel", [box, &wheel] { QApplication::sendEvent(box, &wheel); }, "11 2,317.15"},
        {"typed out of range", type("150"), "150 31,597.50"},
        {"Tab", key(Qt::Key_Tab), "100 21,065.00"},
        {"typed over the top", type("1000"), "1000 210,650.00"},
        {"Tab, same value", key(Qt::Key_Tab), "100 21,065.00"},
        {"typed 0", type("0"), "0 0.00"},
        {"Tab", key(Qt::Key_Tab), "1 383.00"},
        {"typed out of range", type("150"), "150 31,597.50"},
        {"up arrow corrects first", up, "100 21,065.00"},
    };
    for (const auto& step : steps) {
        step.act();
        QCOMPARE(step.channel + (' ' + box->text()) + ' ' + f->Edit_einzelpreis->text(),
                 step.channel + (' ' + QString::fromLatin1(step.numberAndPrice)));
    }
    // "+" takes the focus, so the correction comes first and the line's number and price agree.
    typeNumber(f, QString()); // an emptied field is priced for 1
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->orderText().line(7), QStringLiteral("1 Qorvex Individual  English : 383.00 EUR"));
}

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"
