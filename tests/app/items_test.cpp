// "+" and "Clear": the order header, both item line formats, the entry checks and the net sum.
#include "window_fixture.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

QStringList header()
{
    return {"Purchase Order to VELMARO Software",
            "",
            "P.O.:",
            "Date: " + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")),
            "",
            "We hereby order:",
            ""};
}

void typeNumber(WindowFixture& f, const QString& text)
{
    f->SpinEdit_anzahl->setFocus();
    f->SpinEdit_anzahl->selectAll();
    QTest::keyClicks(f->SpinEdit_anzahl, text);
}

void typeLicenceNo(WindowFixture& f, const QString& text)
{
    f->Edit_lizno->clear();
    QTest::keyClicks(f->Edit_lizno, text);
}

const QString kFirstProgramLine = QStringLiteral("1 Qorvex Individual  English : 383.00 EUR");

} // namespace

class ItemsTest : public QObject {
    Q_OBJECT
private slots:
    void headerOnlyWhileTheTextHoldsAtMostOneLine_data();
    void headerOnlyWhileTheTextHoldsAtMostOneLine();
    void itemLineFormats();
    void licenceNumberMustBeANonZeroWholeNumber();
    void licenceNumberIsCheckedBeforeTheLanguage();
    void noProgramOrBundleSelected();
    void netSumAcrossAddsAndClear();
};

void ItemsTest::headerOnlyWhileTheTextHoldsAtMostOneLine_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << QString() << header() + QStringList{kFirstProgramLine};
    QTest::newRow("one line") << QStringLiteral("Ref 12")
                              << QStringList{"Ref 12"} + header() + QStringList{kFirstProgramLine};
    QTest::newRow("one line with break")
        << QStringLiteral("Ref 12\n")
        << QStringList{"Ref 12"} + header() + QStringList{kFirstProgramLine};
    QTest::newRow("two lines") << QStringLiteral("a\nb")
                               << QStringList{"a", "b", kFirstProgramLine};
    QTest::newRow("two empty lines")
        << QStringLiteral("\n\n") << QStringList{"", "", kFirstProgramLine};
}

void ItemsTest::headerOnlyWhileTheTextHoldsAtMostOneLine()
{
    QFETCH(QString, before);
    QFETCH(QStringList, expected);
    WindowFixture f;
    f->Memo1->setPlainText(before);
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->orderText().all(), expected);
    QVERIFY(f->orderText().endsWithLineBreak());
    QVERIFY(f.desktop.messages.isEmpty());
}

void ItemsTest::itemLineFormats()
{
    WindowFixture f;
    f->Memo1->setPlainText(QStringLiteral("a\nb\n"));

    WindowFixture::choose(f->ComboBox_lizenztyp, 1);
    typeNumber(f, QStringLiteral("2"));
    WindowFixture::click(f->Button_add);

    // A name that ends in a blank keeps it.
    WindowFixture::choose(f->ComboBox_programm, 1);
    WindowFixture::choose(f->ComboBox_language, 0);
    WindowFixture::choose(f->ComboBox_lizenztyp, 0);
    typeNumber(f, QStringLiteral("1"));
    WindowFixture::click(f->Button_add);

    // An update line takes the kind and the licence number, but neither the licence type nor
    // the hidden number field: it counts the one update it charges.
    WindowFixture::choose(f->ComboBox_programm, 0);
    WindowFixture::choose(f->ComboBox_language, 1);
    typeNumber(f, QStringLiteral("3"));
    WindowFixture::choose(f->ComboBox_updateneu, 2);
    typeLicenceNo(f, QStringLiteral("4711"));
    WindowFixture::click(f->Button_add);

    WindowFixture::choose(f->ComboBox_paket, 1);
    WindowFixture::choose(f->ComboBox_programm, 1);
    WindowFixture::choose(f->ComboBox_updateneu, 1);
    WindowFixture::click(f->Button_add);

    // Back to "New": the number field still holds 3; the licence number is neither tested nor
    // written.
    WindowFixture::choose(f->ComboBox_updateneu, 0);
    WindowFixture::click(f->Button_add);

    QCOMPARE(f->orderText().all(),
             QStringList({"a", "b", "2 Qorvex Network Floating  English : 919.20 EUR",
                          "1 Lumo  Individual  Deutsch : 107.00 EUR",
                          "1 Qorvex Update Win64 English #4711 : 50.00 EUR",
                          "1 Studio Office Pack Update (Win32/64) English #4711 : 120.00 EUR",
                          "3 Studio Office Pack Individual  English : 2,805.75 EUR"}));
    QVERIFY(f.desktop.messages.isEmpty());
}

void ItemsTest::licenceNumberMustBeANonZeroWholeNumber()
{
    WindowFixture f;
    WindowFixture::choose(f->ComboBox_updateneu, 1);
    for (const QString& rejected : {QString(), QStringLiteral("0"), QStringLiteral("abc"),
                                    QStringLiteral("12x"), QStringLiteral("4711 ")}) {
        f.desktop.messages.clear();
        typeLicenceNo(f, rejected);
        f->Button_add->setFocus();
        WindowFixture::click(f->Button_add);
        QVERIFY2(f.desktop.messages == QStringList{"Liz. No."}, qPrintable(rejected));
        QVERIFY2(f->Edit_lizno->hasFocus(), qPrintable(rejected));
        QCOMPARE(f->orderText().count(), 0);
        QVERIFY(f->netSum().isZero());
    }
    f.desktop.messages.clear();
    typeLicenceNo(f, QStringLiteral("4711"));
    WindowFixture::click(f->Button_add);
    QVERIFY(f.desktop.messages.isEmpty());
    QCOMPARE(f->orderText().line(7),
             QStringLiteral("1 Qorvex Update (Win32/64) English #4711 : 40.00 EUR"));
}

void ItemsTest::licenceNumberIsCheckedBeforeTheLanguage()
{
    WindowFixture f;
    // Francais chosen, then another program: no language is selected.
    WindowFixture::choose(f->ComboBox_programm, 2);
    WindowFixture::choose(f->ComboBox_language, 2);
    WindowFixture::choose(f->ComboBox_programm, 3);
    WindowFixture::choose(f->ComboBox_updateneu, 1);

    WindowFixture::click(f->Button_add);
    QCOMPARE(f.desktop.messages, QStringList{"Liz. No."});
    QVERIFY(f->Edit_lizno->hasFocus());

    typeLicenceNo(f, QStringLiteral("4711"));
    WindowFixture::click(f->Button_add);
    QCOMPARE(f.desktop.messages, QStringList({"Liz. No.", "Language"}));
    QVERIFY(f->ComboBox_language->hasFocus());
    QCOMPARE(f->orderText().count(), 0);
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("0"));

    WindowFixture::choose(f->ComboBox_language, 2);
    WindowFixture::click(f->Button_add);
    QCOMPARE(f.desktop.messages.size(), 2);
    QCOMPARE(f->orderText().line(7),
             QStringLiteral("1 Brandle Update (Win32/64) Francais #4711 : 40.00 EUR"));
}

void ItemsTest::noProgramOrBundleSelected()
{
    WindowFixture f;
    for (int paket : {1, 0}) {
        WindowFixture::choose(f->ComboBox_paket, paket);
        f->Button_add->setFocus();
        WindowFixture::click(f->Button_add);
        QVERIFY(f->ComboBox_programm->hasFocus());
    }
    // The message is the list's heading, so it names what is missing.
    QCOMPARE(f.desktop.messages, QStringList({"Bundle", "Software"}));
    QCOMPARE(f->orderText().count(), 0);
    QVERIFY(f->netSum().isZero());
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("0"));

    WindowFixture::choose(f->ComboBox_programm, 0);
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->orderText().line(7), kFirstProgramLine);
}

void ItemsTest::netSumAcrossAddsAndClear()
{
    WindowFixture f;
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("383.00"));

    // 5 x 741.00 less 32.5 % is 2500.875 each: the half cents add up before rounding.
    WindowFixture::choose(f->ComboBox_paket, 1);
    WindowFixture::choose(f->ComboBox_programm, 0);
    typeNumber(f, QStringLiteral("5"));
    WindowFixture::click(f->Button_add);
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->orderText().count(), 10);
    QCOMPARE(f->orderText().line(8), f->orderText().line(9));
    QCOMPARE(f->orderText().line(9),
             QStringLiteral("5 Studio Starter Pack Individual  English : 2,500.88 EUR"));
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("5,384.75"));
    QCOMPARE(f->netSum(), velmaro::Money::fromCents(538475));

    const velmaro::Money itemPrice = f->itemPrice();
    WindowFixture::click(f->Button_clear);
    QCOMPARE(f->Memo1->toPlainText(), QString());
    QVERIFY(f->netSum().isZero());
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("0.00"));
    QCOMPARE(f->itemPrice(), itemPrice);

    // A new order starts with a new header and a sum of its own lines only.
    WindowFixture::choose(f->ComboBox_paket, 0);
    WindowFixture::choose(f->ComboBox_programm, 0);
    typeNumber(f, QStringLiteral("2"));
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->orderText().count(), 8);
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("574.50"));
}

QTEST_MAIN(ItemsTest)
#include "items_test.moc"
