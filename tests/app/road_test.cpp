// The road of a typical order, end to end through the real window: compose it with clicks,
// list picks and typing, close it with totals and address, mail it, save it with "OK", and
// find it all again at the next start.
#include "core/seller.h"
#include "controls/string_grid.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

using velmaro::Money;

// Keys go where the keyboard focus is, as a user's do: the first key of a cell opens its
// editor, which then takes the focus and the rest of the keys.
void typeAtFocus(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

// Clicks a cell (the grid opens its editor when the current cell changes) and types into it.
// The next click elsewhere commits the text.
void typeIntoCell(StringGrid* grid, int col, int row, const QString& text)
{
    const int firstShownRow = grid->gridModel()->hasFixedRow() ? 1 : 0;
    const QModelIndex at = grid->model()->index(row - firstShownRow, col - 1);
    QVERIFY2(at.isValid(), "cell not shown");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(at).center());
    typeAtFocus(text);
}

// Replaces a field's text as a user does: select all, type over it.
void typeOver(QWidget* field, const QString& text)
{
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(4, field->height() / 2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    typeAtFocus(text);
}

QList<QByteArray> fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    // Every line, the last one included, ends in CR LF: the split leaves one empty piece.
    if (lines.isEmpty() || !lines.takeLast().isEmpty())
        return {"<no final line break>"};
    for (QByteArray& line : lines) {
        if (!line.endsWith('\r'))
            return {"<line without CR>"};
        line.chop(1);
    }
    return lines;
}

const QStringList kAddress = {
    "Brightwater Tools Ltd",   "Anna Petrel", "12 Harbour Lane", "Kestrel Bay 4410", "",
    "anna@brightwater.example"};

QStringList expectedOrderText()
{
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    return QStringList{
               "Purchase Order to VELMARO Software",
               "",
               "P.O.:",
               "Date: " + today,
               "",
               "We hereby order:",
               "",
               // 2 x 383.00 with the 20 % surcharge for floating licences.
               "2 Qorvex Network Floating  English : 919.20 EUR",
               // 2 x 741.00 less 25 %.
               "2 Studio Starter Pack Individual  Francais : 1,111.50 EUR",
               // One update, whatever the hidden number field says; the name's own blank stays.
               "1 Lumo  Update Win64 English #4711 : 50.00 EUR",
               "1 Update Pell Paint #3021 : 40.00 EUR",
               "1 Update Vireo Type #58 : 40.00 EUR",
               "",
               "sum net: 2,160.70 EUR",
               "Postage cost: 10.00 EUR",
               // (2,160.70 + 10.00) x 19 %.
               "19% VAT :412.43",
               "Sum total: 2,583.13 EUR",
               "",
               "Payment: bank transfer",
               "IBAN: DE52 1234 5678 4711 0815 00",
               "BIC: NHBKDEHH (Nordhafen Handelsbank)",
               "Software released by key code after receipt of payment",
               "",
           } +
           kAddress;
}

} // namespace

class RoadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void typicalOrderIsMailedSavedAndRestored();
};

void RoadTest::initTestCase()
{
    // The first window closes through "OK"; that must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

void RoadTest::typicalOrderIsMailedSavedAndRestored()
{
    WindowFixture f;
    TForm_order& w = f.window();

    // A program: the first one, two network floating licences, in English.
    WindowFixture::choose(w.ComboBox_programm, 0);
    WindowFixture::choose(w.ComboBox_lizenztyp, 1);
    typeOver(w.SpinEdit_anzahl, QStringLiteral("2"));
    QCOMPARE(w.Edit_einzelpreis->text(), QStringLiteral("919.20"));
    WindowFixture::click(w.Button_add);
    QCOMPARE(w.Edit_sumnet->text(), QStringLiteral("919.20"));

    // A bundle, new, individual, in French.
    WindowFixture::choose(w.ComboBox_paket, 1);
    QCOMPARE(w.Label_programm->text(), QStringLiteral("Bundle"));
    WindowFixture::choose(w.ComboBox_programm, 0);
    WindowFixture::choose(w.ComboBox_updateneu, 0);
    WindowFixture::choose(w.ComboBox_lizenztyp, 0);
    QCOMPARE(w.ComboBox_language->currentText(), QStringLiteral("English"));
    WindowFixture::choose(w.ComboBox_language, 2);
    QCOMPARE(w.ComboBox_language->currentText(), QStringLiteral("Francais"));
    QCOMPARE(w.Edit_einzelpreis->text(), QStringLiteral("1,111.50"));
    WindowFixture::click(w.Button_add);

    // An update of a program the customer owns: French is gone with the change of item.
    WindowFixture::choose(w.ComboBox_paket, 0);
    WindowFixture::choose(w.ComboBox_programm, 1);
    QCOMPARE(w.ComboBox_language->currentIndex(), -1);
    WindowFixture::choose(w.ComboBox_language, 1);
    WindowFixture::choose(w.ComboBox_updateneu, 2);
    QVERIFY(w.Edit_lizno->isVisible());
    QVERIFY(w.SpinEdit_anzahl->isHidden());
    typeOver(w.Edit_lizno, QStringLiteral("4711"));
    WindowFixture::click(w.Button_add);

    // Licences already owned, typed into the table, ordered as updates.
    QCheckBox* myLicences = w.CheckBox_lizenzen;
    QTest::mouseClick(myLicences, Qt::LeftButton, {}, QPoint(6, myLicences->height() / 2));
    QVERIFY(w.StringGrid_lizenzen->isVisible());
    typeIntoCell(w.StringGrid_lizenzen, 1, 1, QStringLiteral("Pell Paint"));
    typeIntoCell(w.StringGrid_lizenzen, 2, 1, QStringLiteral("3021"));
    typeIntoCell(w.StringGrid_lizenzen, 1, 2, QStringLiteral("Vireo Type"));
    typeIntoCell(w.StringGrid_lizenzen, 2, 2, QStringLiteral("58"));
    WindowFixture::click(w.Button_orderupdates);
    QCOMPARE(w.Edit_sumnet->text(), QStringLiteral("2,160.70"));

    // Germany, on CD-ROM, paid by bank transfer; the address typed into its table.
    WindowFixture::choose(w.ComboBox_location, 0);
    QVERIFY(w.Edit_vatno->isHidden());
    WindowFixture::choose(w.ComboBox_versand, 1);
    QCOMPARE(w.Edit_versandkosten->text(), QStringLiteral("10.00"));
    QCOMPARE(w.ComboBox_zahlung->currentText(), QStringLiteral("Bank transfer"));
    for (int row = 0; row < kAddress.size(); ++row)
        if (!kAddress[row].isEmpty())
            typeIntoCell(w.StringGrid_adresse, 1, row, kAddress[row]);

    WindowFixture::click(w.Button_zahlung);
    const QStringList orderText = expectedOrderText();
    QCOMPARE(w.orderText().all(), orderText);
    QCOMPARE(w.netSum(), Money::fromCents(216070));
    QCOMPARE(w.postage(), Money::fromEuros(10));
    // The total is kept exact; only its text is rounded to the cent.
    QCOMPARE(w.total(), Money::fromUnits(258313300000));

    WindowFixture::click(w.Button_email);
    QVERIFY(w.mailedFlag());
    QCOMPARE(f.desktop.mailRequests.size(), 1);
    const QByteArray request = f.desktop.mailRequests.first();
    const QByteArray prefix = "MAILTO:" + QByteArray(velmaro::seller::kEmail.data()) + "?subject=";
    QVERIFY2(request.startsWith(prefix), qPrintable(QString::fromLatin1(request.left(80))));
    const qsizetype body = request.indexOf("&body=");
    QVERIFY(body > 0);
    QCOMPARE(QByteArray::fromPercentEncoding(request.mid(prefix.size(), body - prefix.size())),
             QByteArray("Purchase Order"));
    QCOMPARE(QString::fromUtf8(QByteArray::fromPercentEncoding(request.mid(body + 6))),
             orderText.join('\n') + '\n');

    // Mailed already: after the save prompt the window closes without offering a hand-off.
    f.desktop.answers = {Desktop::Answer::Yes};
    ModalWatch modals;
    WindowFixture::click(w.Button_ok);
    QCOMPARE(f.desktop.confirmations, QStringList{QStringLiteral("Save order.qzo ?")});
    QVERIFY(modals.seen.isEmpty());
    QVERIFY(!w.isVisible());
    QVERIFY(w.savedFlag());
    QCOMPARE(f.desktop.mailRequests.size(), 1);
    QVERIFY(f.desktop.errors.isEmpty());
    QVERIFY(f.desktop.messages.isEmpty());

    // The file: licence rows, the address, the choices, the order text and the net sum.
    const QList<QByteArray> file = fileLines(f.path(QStringLiteral("order.qzo")));
    const qsizetype n = orderText.size();
    QCOMPARE(file.size(), 66 + n);
    QCOMPARE(file[0], QByteArray("9"));
    QCOMPARE(file.mid(1, 7),
             (QList<QByteArray>{"Pell Paint", "3021", "", "", "", "Vireo Type", "58"}));
    QCOMPARE(file[46], QByteArray("6"));
    for (int row = 0; row < kAddress.size(); ++row)
        QCOMPARE(QString::fromUtf8(file[47 + row]), kAddress[row]);
    QCOMPARE(file[53], QByteArray());
    QCOMPARE(file.mid(54, 3), (QList<QByteArray>{"0", "1", "0"}));
    QCOMPARE(file[64], QByteArray::number(n));
    for (int i = 0; i < n; ++i)
        QCOMPARE(QString::fromUtf8(file[65 + i]), orderText[i]);
    QCOMPARE(file.last(), QByteArray(" 2.16070000000000E+0003"));

    // The next start finds the order as it was left.
    f.restart();
    TForm_order& again = f.window();
    QVERIFY(f.desktop.errors.isEmpty());
    QCOMPARE(again.orderText().all(), orderText);
    QCOMPARE(again.StringGrid_lizenzen->rowCount(), 9);
    QCOMPARE(again.StringGrid_lizenzen->cell(1, 1), QStringLiteral("Pell Paint"));
    QCOMPARE(again.StringGrid_lizenzen->cell(2, 1), QStringLiteral("3021"));
    QCOMPARE(again.StringGrid_lizenzen->cell(1, 2), QStringLiteral("Vireo Type"));
    QCOMPARE(again.StringGrid_lizenzen->cell(2, 2), QStringLiteral("58"));
    QCOMPARE(again.StringGrid_lizenzen->cell(1, 3), QString());
    QCOMPARE(again.StringGrid_lizenzen->cell(0, 2), QStringLiteral("2"));
    QVERIFY(again.StringGrid_lizenzen->isHidden());
    for (int row = 0; row < kAddress.size(); ++row)
        QCOMPARE(again.StringGrid_adresse->cell(1, row), kAddress[row]);
    QCOMPARE(again.StringGrid_adresse->cell(0, 0), QStringLiteral("Company"));
    QCOMPARE(again.ComboBox_location->currentText(), QStringLiteral("Deutschland"));
    QVERIFY(again.Edit_vatno->isHidden());
    QCOMPARE(again.ComboBox_versand->currentText(), QStringLiteral("CD-ROM"));
    QCOMPARE(again.Edit_versandkosten->text(), QStringLiteral("10.00"));
    QCOMPARE(again.ComboBox_zahlung->currentText(), QStringLiteral("Bank transfer"));
    QCOMPARE(again.Label_zahlungstext->text(), QStringLiteral("bank transfer"));
    QCOMPARE(again.netSum(), Money::fromCents(216070));
    QCOMPARE(again.Edit_sumnet->text(), QStringLiteral("2,160.70"));
    QVERIFY(!again.savedFlag());
    QVERIFY(!again.mailedFlag());
    // The selection row is not stored: it starts from its defaults.
    QCOMPARE(again.ComboBox_paket->currentText(), QStringLiteral("Program"));
    QCOMPARE(again.Edit_einzelpreis->text(), QStringLiteral("383.00"));
}

QTEST_MAIN(RoadTest)
#include "road_test.moc"
