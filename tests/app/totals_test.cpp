// Delivery and payment controls and the closing blocks that "---->" appends, driven through the
// real window: the net sum comes from "+", the choices from the lists as a user picks them.
#include "core/seller.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

enum Location { Deutschland = 0, EuropeanUnion = 1, World = 2 };
enum Delivery { Download = 0, CdRom = 1 };
enum Payment { BankTransfer = 0, PayPal = 1 };

const QString kReleaseLine =
    QStringLiteral("Software released by key code after receipt of payment");

QString seller(std::string_view value)
{
    return QString::fromUtf8(value.data(), qsizetype(value.size()));
}

QString payPalLink()
{
    return seller(velmaro::seller::kPayPalLink);
}

QString bicLine()
{
    return QStringLiteral("BIC: ") + seller(velmaro::seller::kBic) + QStringLiteral(" (") +
           seller(velmaro::seller::kBankName) + QStringLiteral(")");
}

// Adds the first program (383.00) with "+".
void addFirstProgram(WindowFixture& f)
{
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->netSum(), velmaro::Money::fromEuros(383));
}

QStringList linesFrom(WindowFixture& f, int first)
{
    return f->orderText().all().mid(first);
}

// Presses "---->" and returns what it appended.
QStringList close(WindowFixture& f)
{
    const int before = f->orderText().count();
    WindowFixture::click(f->Button_zahlung);
    return linesFrom(f, before);
}

QStringList bankTransferBlock(WindowFixture& f)
{
    return {QString(), QStringLiteral("Payment: bank transfer"), f->Label_zahlungstext2->text(),
            f->Label_zahlungstext3->text(), kReleaseLine};
}

const QStringList kEmptyAddress = {"", "", "", "", "", "", ""};

// True when the field shows its text from the first character on: the first character stands
// where it stands once the field has scrolled it into view.
bool showsFirstCharacter(QLineEdit* field)
{
    const auto firstCharacterX = [field] {
        return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    field->grab(); // painted as the user sees it, the cursor at the end
    const int end = field->cursorPosition();
    field->setCursorPosition(0);
    const int shown = firstCharacterX();
    field->grab(); // scrolled, if need be, to bring the first character into view
    const bool unscrolled = firstCharacterX() == shown;
    field->setCursorPosition(end);
    return unscrolled;
}

} // namespace

class TotalsTest : public QObject {
    Q_OBJECT
private slots:
    void totalsBlockByLocationAndDelivery_data();
    void totalsBlockByLocationAndDelivery();
    void europeanUnionAsksForTheVatNumberFirst();
    void nothingToCloseWithoutNetSum();
    void bankTransferAndAddressBlocks();
    void payPalLinkCarriesTheTotalToTheCent();
    void closingTwiceAppendsTwoSequencesWithTheValuesOfTheMoment();
    void vatNumberStaysInItsFieldButIsWrittenOnlyInTheUnion();
    void postageAndVatFieldFollowEveryChange();
    void paymentLabelsFollowThePaymentKind();
    void amountsShowWhole();
};

void TotalsTest::totalsBlockByLocationAndDelivery_data()
{
    QTest::addColumn<int>("location");
    QTest::addColumn<int>("delivery");
    QTest::addColumn<QString>("vatNo");
    QTest::addColumn<QStringList>("totals");
    QTest::addColumn<qint64>("totalCents");

    QTest::newRow("Deutschland, download")
        << int(Deutschland) << int(Download) << QString()
        << QStringList{"", "sum net: 383.00 EUR", "Postage cost: 0.00 EUR", "19% VAT :72.77",
                       "Sum total: 455.77 EUR"}
        << qint64(45577);
    // VAT is due on the postage as well: 19 % of 393.00, not of 383.00.
    QTest::newRow("Deutschland, CD-ROM")
        << int(Deutschland) << int(CdRom) << QString()
        << QStringList{"", "sum net: 383.00 EUR", "Postage cost: 10.00 EUR", "19% VAT :74.67",
                       "Sum total: 467.67 EUR"}
        << qint64(46767);
    QTest::newRow("World, CD-ROM")
        << int(World) << int(CdRom) << QString()
        << QStringList{"", "sum net: 383.00 EUR", "Postage cost: 60.00 EUR",
                       "Sum total: 443.00 EUR"}
        << qint64(44300);
    QTest::newRow("European Union, CD-ROM")
        << int(EuropeanUnion) << int(CdRom) << QStringLiteral("ATU12345678")
        << QStringList{"",
                       "sum net: 383.00 EUR",
                       "Postage cost: 25.00 EUR",
                       "Sum total: 408.00 EUR",
                       "",
                       "European VAT No.: ATU12345678"}
        << qint64(40800);
}

void TotalsTest::totalsBlockByLocationAndDelivery()
{
    QFETCH(int, location);
    QFETCH(int, delivery);
    QFETCH(QString, vatNo);
    QFETCH(QStringList, totals);
    QFETCH(qint64, totalCents);

    WindowFixture f;
    addFirstProgram(f);
    WindowFixture::choose(f->ComboBox_location, location);
    WindowFixture::choose(f->ComboBox_versand, delivery);
    QTest::keyClicks(f->Edit_vatno, vatNo);

    const QStringList appended = close(f);
    QCOMPARE(appended, totals + bankTransferBlock(f) + kEmptyAddress);
    QCOMPARE(f->total(), velmaro::Money::fromCents(totalCents));
    QVERIFY(f.desktop.messages.isEmpty());
}

void TotalsTest::europeanUnionAsksForTheVatNumberFirst()
{
    WindowFixture f;
    addFirstProgram(f);
    const QStringList items = f->orderText().all();
    QCOMPARE(f->ComboBox_location->currentIndex(), int(EuropeanUnion));

    WindowFixture::click(f->Button_zahlung);
    QCOMPARE(f.desktop.messages,
             QStringList{QStringLiteral("European VAT number (Umsatzsteuer-Identnummer)")});
    QCOMPARE(f->focusWidget(), f->Edit_vatno);
    QCOMPARE(f->orderText().all(), items);
    QVERIFY(f->total().isZero());

    // Any text will do; only an empty field is refused.
    QTest::keyClicks(f->Edit_vatno, QStringLiteral("x"));
    const QStringList appended = close(f);
    QCOMPARE(f.desktop.messages.size(), 1);
    QCOMPARE(appended.mid(0, 6), (QStringList{"", "sum net: 383.00 EUR", "Postage cost: 0.00 EUR",
                                              "Sum total: 383.00 EUR", "", "European VAT No.: x"}));
    QCOMPARE(f->orderText().all().mid(0, items.size()), items);
}

void TotalsTest::nothingToCloseWithoutNetSum()
{
    // With a net sum of exactly 0 not even the missing VAT number is reported.
    WindowFixture f;
    QTest::keyClicks(f->Memo1, QStringLiteral("typed by hand"));
    WindowFixture::click(f->Button_zahlung);
    QCOMPARE(f->Memo1->toPlainText(), QStringLiteral("typed by hand"));
    QVERIFY(f.desktop.messages.isEmpty());

    addFirstProgram(f);
    WindowFixture::click(f->Button_clear);
    QVERIFY(f->netSum().isZero());
    WindowFixture::choose(f->ComboBox_location, World);
    const QString cleared = f->Memo1->toPlainText();
    WindowFixture::click(f->Button_zahlung);
    QCOMPARE(f->Memo1->toPlainText(), cleared);
    QVERIFY(f.desktop.messages.isEmpty());
}

void TotalsTest::bankTransferAndAddressBlocks()
{
    WindowFixture f;
    addFirstProgram(f);
    WindowFixture::choose(f->ComboBox_location, World);
    const QStringList address = {"Quillfield Instruments",    "R. Amsel", "Harbour Road 4", "", "",
                                 "r.amsel@quillfield.example"};
    for (int row = 0; row < address.size() - 1; ++row)
        f->StringGrid_adresse->setCell(1, row, address[row]);
    // The last cell is still being typed into when a screen reader presses "---->", which takes
    // no focus from the cell.
    const QModelIndex email = f->StringGrid_adresse->model()->index(5, 0);
    f->StringGrid_adresse->setCurrentIndex(email);
    QTest::keyClick(f->StringGrid_adresse, Qt::Key_F2);
    QTest::keyClicks(f->StringGrid_adresse->indexWidget(email), address.last());
    const int before = f->orderText().count();
    QAccessible::queryAccessibleInterface(f->Button_zahlung)
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(f->orderText().count() > before);
    const QStringList appended = linesFrom(f, before);
    QCOMPARE(appended, (QStringList{"", "sum net: 383.00 EUR", "Postage cost: 0.00 EUR",
                                    "Sum total: 383.00 EUR", "", "Payment: bank transfer",
                                    f->Label_zahlungstext2->text(), bicLine(), kReleaseLine, ""} +
                        address));
    QVERIFY(appended[6].startsWith(QStringLiteral("IBAN: ")));
    QVERIFY(f->orderText().endsWithLineBreak());
}

void TotalsTest::payPalLinkCarriesTheTotalToTheCent()
{
    // Bundle row 8 costs 14,950.00; with German VAT the total is 17,790.50, which the link
    // must carry to the cent, not rounded to fewer digits.
    WindowFixture f;
    WindowFixture::choose(f->ComboBox_paket, 1);
    WindowFixture::choose(f->ComboBox_programm, 8);
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->netSum(), velmaro::Money::fromEuros(14950));
    WindowFixture::choose(f->ComboBox_location, Deutschland);
    WindowFixture::choose(f->ComboBox_zahlung, PayPal);
    f->StringGrid_adresse->setCell(1, 5, QStringLiteral("buyer@example.org"));

    const QStringList appended = close(f);
    QCOMPARE(appended, (QStringList{"", "sum net: 14,950.00 EUR", "Postage cost: 0.00 EUR",
                                    "19% VAT :2,840.50", "Sum total: 17,790.50 EUR", "",
                                    "Payment: PayPal", payPalLink() + "/17790.50EUR", "", "", "",
                                    "", "", "", "", "buyer@example.org"}));
    QCOMPARE(f->total(), velmaro::Money::fromCents(1779050));
}

void TotalsTest::closingTwiceAppendsTwoSequencesWithTheValuesOfTheMoment()
{
    WindowFixture f;
    addFirstProgram(f);
    WindowFixture::choose(f->ComboBox_location, World);
    const QStringList first = close(f);
    const QStringList second = close(f);
    QCOMPARE(second, first);

    // What is written stays written: a later change only shapes the next sequence.
    WindowFixture::choose(f->ComboBox_location, Deutschland);
    WindowFixture::choose(f->ComboBox_versand, CdRom);
    const int before = f->orderText().count();
    const QStringList third = close(f);
    QCOMPARE(linesFrom(f, before - 2 * first.size()), first + first + third);
    QCOMPARE(third.mid(2, 3),
             (QStringList{"Postage cost: 10.00 EUR", "19% VAT :74.67", "Sum total: 467.67 EUR"}));
}

void TotalsTest::vatNumberStaysInItsFieldButIsWrittenOnlyInTheUnion()
{
    WindowFixture f;
    addFirstProgram(f);
    QTest::keyClicks(f->Edit_vatno, QStringLiteral("FR99123"));
    WindowFixture::choose(f->ComboBox_location, World);
    QVERIFY(f->Edit_vatno->isHidden());

    const QStringList appended = close(f);
    QCOMPARE(appended.mid(0, 5), (QStringList{"", "sum net: 383.00 EUR", "Postage cost: 0.00 EUR",
                                              "Sum total: 383.00 EUR", ""}));
    QCOMPARE(appended[5], QStringLiteral("Payment: bank transfer"));
    for (const QString& line : appended)
        QVERIFY2(!line.contains(QStringLiteral("FR99123")), qPrintable(line));

    WindowFixture::choose(f->ComboBox_location, EuropeanUnion);
    QVERIFY(!f->Edit_vatno->isHidden());
    QCOMPARE(f->Edit_vatno->text(), QStringLiteral("FR99123"));
}

void TotalsTest::postageAndVatFieldFollowEveryChange()
{
    WindowFixture f;
    struct Step {
        QComboBox* list;
        int index;
        const char* postage;
        int postageEuros;
        bool vatShown;
    };
    const Step steps[] = {
        {f->ComboBox_versand, CdRom, "25.00", 25, true},
        {f->ComboBox_location, Deutschland, "10.00", 10, false},
        {f->ComboBox_location, World, "60.00", 60, false},
        {f->ComboBox_versand, Download, "0.00", 0, false},
        {f->ComboBox_location, EuropeanUnion, "0.00", 0, true},
        {f->ComboBox_versand, CdRom, "25.00", 25, true},
        {f->ComboBox_location, World, "60.00", 60, false},
    };
    QCOMPARE(f->Edit_versandkosten->text(), QStringLiteral("0.00"));
    for (const Step& step : steps) {
        WindowFixture::choose(step.list, step.index);
        const QString where = step.list->objectName() + QLatin1Char(' ') + step.list->currentText();
        QVERIFY2(f->Edit_versandkosten->text() == QLatin1String(step.postage), qPrintable(where));
        QVERIFY2(f->postage() == velmaro::Money::fromEuros(step.postageEuros), qPrintable(where));
        QVERIFY2(f->Edit_vatno->isHidden() == !step.vatShown, qPrintable(where));
        QVERIFY2(f->Label_vatno->isHidden() == !step.vatShown, qPrintable(where));
    }
}

void TotalsTest::paymentLabelsFollowThePaymentKind()
{
    WindowFixture f;
    const QList<QLineEdit*> cardFields = {f->Edit_visa1, f->Edit_visa2,   f->Edit_visa3,
                                          f->Edit_visa4, f->Edit_expdate, f->Edit_cardholder};

    // Bank transfer, as activation leaves it. The IBAN reads in groups of four.
    QCOMPARE(f->Label_zahlungstext->text(), QStringLiteral("bank transfer"));
    const QString ibanLabel = f->Label_zahlungstext2->text();
    QVERIFY(ibanLabel.startsWith(QStringLiteral("IBAN: ")));
    const QStringList groups = ibanLabel.mid(6).split(QLatin1Char(' '));
    QCOMPARE(groups.join(QString()), seller(velmaro::seller::kIban));
    for (int i = 0; i < groups.size(); ++i)
        QVERIFY2(i == groups.size() - 1 ? groups[i].size() <= 4 && !groups[i].isEmpty()
                                        : groups[i].size() == 4,
                 qPrintable(ibanLabel));
    QCOMPARE(f->Label_zahlungstext3->text(), bicLine());

    // Even a card field brought into view (as a loaded order might) goes again.
    f->Edit_visa2->show();
    WindowFixture::choose(f->ComboBox_zahlung, PayPal);
    QCOMPARE(f->Label_zahlungstext->text(), QStringLiteral("PayPal"));
    QCOMPARE(f->Label_zahlungstext2->text(), payPalLink());
    QVERIFY(!payPalLink().endsWith(QLatin1Char('/')));
    QCOMPARE(f->Label_zahlungstext3->text(), QString());
    for (QLineEdit* card : cardFields)
        QVERIFY2(card->isHidden(), qPrintable(card->objectName()));

    WindowFixture::choose(f->ComboBox_zahlung, BankTransfer);
    QCOMPARE(f->Label_zahlungstext->text(), QStringLiteral("bank transfer"));
    QCOMPARE(f->Label_zahlungstext2->text(), ibanLabel);
    QCOMPARE(f->Label_zahlungstext3->text(), bicLine());
    for (QLineEdit* card : cardFields)
        QVERIFY2(card->isHidden(), qPrintable(card->objectName()));
}

void TotalsTest::amountsShowWhole()
{
    WindowFixture f;
    // Two lines of 100 network licences of the dearest bundle.
    WindowFixture::choose(f->ComboBox_paket, 1);
    WindowFixture::choose(f->ComboBox_programm, 8);
    WindowFixture::choose(f->ComboBox_lizenztyp, 1);
    f->SpinEdit_anzahl->selectAll();
    QTest::keyClicks(f->SpinEdit_anzahl, QStringLiteral("100"));
    WindowFixture::click(f->Button_add);
    WindowFixture::click(f->Button_add);
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("1,943,500.00"));
    QCOMPARE(f->Edit_sumnet->toolTip(), QStringLiteral("1,943,500.00"));
    QCOMPARE(f->Edit_sumnet->accessibleDescription(), QStringLiteral("1,943,500.00"));
    QVERIFY(showsFirstCharacter(f->Edit_sumnet));

    // The largest amount: whole, legible, the right edge kept, clear of the left neighbour.
    const QPair<QLineEdit*, QWidget*> fields[] = {{f->Edit_sumnet, f->Button_add},
                                                  {f->Edit_einzelpreis, f->Edit_lizno},
                                                  {f->Edit_versandkosten, f->Label_versandkosten}};
    for (const auto& [field, neighbour] : fields) {
        field->setText(QStringLiteral("1.00"));
        const QRect design = field->geometry();
        const int designSize = QFontInfo(field->font()).pixelSize();
        field->setText(QStringLiteral("999,999,999.99"));
        const QByteArray name = field->objectName().toLatin1();
        QVERIFY2(showsFirstCharacter(field), name);
        QVERIFY2(QFontInfo(field->font()).pixelSize() >= 8, name);
        QVERIFY2(field->geometry().right() == design.right(), name);
        QVERIFY2(field->x() > neighbour->geometry().right(), name);
        QCOMPARE(field->toolTip(), QStringLiteral("999,999,999.99"));
        // A small amount after it takes the design size and place again.
        field->setText(QStringLiteral("1.00"));
        QVERIFY2(QFontInfo(field->font()).pixelSize() == designSize, name);
        QVERIFY2(field->geometry() == design, name);
    }
}

QTEST_MAIN(TotalsTest)
#include "totals_test.moc"
