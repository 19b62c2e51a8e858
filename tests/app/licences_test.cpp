// The customer's licence table: shown by "My Licenses", rows added and removed with the spin
// button, edited in place, and turned into an update order or an upgrade inquiry.
#include "core/money.h"
#include "core/order_file.h"
#include "core/recovery_copy.h"
#include "controls/spin_button.h"
#include "controls/string_grid.h"
#include "window_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

struct LicenceCells {
    int row;
    QString program;
    QString licenceNo;
};
using LicenceRows = QList<LicenceCells>;

const QString kInquiryTail1 = QStringLiteral("We are interested in these Upgrades:");
const QString kInquiryTail2 =
    QStringLiteral("(i.e.  individual license -> floating license, upgrade into plus version ...)");

void fill(StringGrid* grid, const LicenceRows& rows)
{
    for (const LicenceCells& cells : rows) {
        grid->setCell(1, cells.row, cells.program);
        grid->setCell(2, cells.row, cells.licenceNo);
    }
}

// The check box reacts to clicks on its box and caption only, not on the empty rest of its
// width, so click right on the box.
void clickMyLicences(TForm_order& window)
{
    QCheckBox* box = window.CheckBox_lizenzen;
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void addRow(TForm_order& window)
{
    QTest::mouseClick(window.SpinButton_lizenzen->downButton(), Qt::LeftButton);
}

void removeRow(TForm_order& window)
{
    QTest::mouseClick(window.SpinButton_lizenzen->upButton(), Qt::LeftButton);
}

// Two lines typed by the user: enough that no order header is written in front.
void typeTwoLines(TForm_order& window)
{
    QTest::keyClicks(window.Memo1, QStringLiteral("Ref 17"));
    QTest::keyClick(window.Memo1, Qt::Key_Return);
    QTest::keyClicks(window.Memo1, QStringLiteral("Customer 4"));
    QTest::keyClick(window.Memo1, Qt::Key_Return);
}

QStringList linesFrom(TForm_order& window, int first)
{
    return window.orderText().all().mid(first);
}

QStringList inquiry(const QStringList& owned)
{
    return QStringList{QStringLiteral("Inquiry"), QString(),
                       QStringLiteral("We own these licenses:"), QString()} +
           owned + QStringList{QString(), kInquiryTail1, kInquiryTail2};
}

} // namespace

Q_DECLARE_METATYPE(LicenceRows)

class LicencesTest : public QObject {
    Q_OBJECT
private slots:
    void myLicencesShowsAndHidesTheTable();
    void updateOrderOnEmptyTextWritesOnlyTheHeader();
    void updateOrderLines_data();
    void updateOrderLines();
    void plusAfterUpdateOrderAddsTheItemsOwnPrice();
    void spinArrowsAddAndRemoveRowsKeepingContents();
    void rowCountStopsAtOneAndRowsComeBack();
    void rowsStayWithinWhatTheSavedOrderTakesBack();
    void upgradeInquiry_data();
    void upgradeInquiry();
    void upgradeInquiryTwiceOnEmptyText();
    void cellsAreEditedInPlace();
    void unfinishedEditsAreNotLost();
};

void LicencesTest::myLicencesShowsAndHidesTheTable()
{
    WindowFixture f;
    TForm_order& w = f.window();
    const QList<QWidget*> licenceControls = {w.StringGrid_lizenzen, w.SpinButton_lizenzen,
                                             w.Button_orderupdates, w.Button_upgrade};
    auto expectShown = [&](bool table) {
        for (QWidget* control : licenceControls)
            QVERIFY2(control->isVisible() == table, qPrintable(control->objectName()));
        QCOMPARE(w.Label_help->isVisible(), !table);
    };

    QVERIFY(!w.CheckBox_lizenzen->isChecked());
    expectShown(false);

    clickMyLicences(w);
    QVERIFY(w.CheckBox_lizenzen->isChecked());
    expectShown(true);

    fill(w.StringGrid_lizenzen, {{3, "Tavi Sketch", "8812"}});
    addRow(w);

    clickMyLicences(w);
    expectShown(false);
    QCOMPARE(w.StringGrid_lizenzen->cell(1, 3), QStringLiteral("Tavi Sketch"));
    QCOMPARE(w.StringGrid_lizenzen->rowCount(), 10);

    clickMyLicences(w);
    expectShown(true);
    const QModelIndex shown = w.StringGrid_lizenzen->model()->index(2, 1);
    QCOMPARE(shown.data().toString(), QStringLiteral("8812"));
    QCOMPARE(w.StringGrid_lizenzen->rowCount(), 10);
}

void LicencesTest::updateOrderOnEmptyTextWritesOnlyTheHeader()
{
    WindowFixture f;
    clickMyLicences(f.window());
    WindowFixture::click(f->Button_orderupdates);

    QCOMPARE(f->orderText().count(), 7);
    QCOMPARE(f->orderText().line(0), QStringLiteral("Purchase Order to VELMARO Software"));
    QVERIFY(f->netSum().isZero());
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("0.00"));
    QVERIFY(f.desktop.errors.isEmpty());
}

void LicencesTest::updateOrderLines_data()
{
    QTest::addColumn<LicenceRows>("rows");
    // Rows added with the down arrow before the cells are filled, removed with the up arrow after.
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("rows 2 and 5, in row order")
        << LicenceRows{{5, "Kestrel Calc", "52"}, {2, "Lumo Draw", "4711"}} << 0 << 0
        << QStringList{"1 Update Lumo Draw #4711 : 40.00 EUR",
                       "1 Update Kestrel Calc #52 : 40.00 EUR"};
    QTest::newRow("a blank program counts, an empty licence number is written as is")
        << LicenceRows{{3, " ", "9"}, {6, "Orrin Mail", ""}} << 0 << 0
        << QStringList{"1 Update   #9 : 40.00 EUR", "1 Update Orrin Mail # : 40.00 EUR"};
    QTest::newRow("a licence number without program is skipped")
        << LicenceRows{{4, "", "777"}} << 0 << 0 << QStringList{};
    QTest::newRow("the last shown row 8 is included, the held row 9 is not")
        << LicenceRows{{8, "Pell Paint", "3"}, {9, "Held Row", "4"}} << 0 << 0
        << QStringList{"1 Update Pell Paint #3 : 40.00 EUR"};
    QTest::newRow("17 shown, two removed: rows 16 and 17 are out of sight")
        << LicenceRows{{15, "Pell Paint", "3"}, {16, "Gone Row", "4"}, {17, "Gone Too", "5"}} << 9
        << 2 << QStringList{"1 Update Pell Paint #3 : 40.00 EUR"};
    QTest::newRow("titles only: no row is shown, none is ordered")
        << LicenceRows{{1, "Sola Base", "1"}} << 0 << 8 << QStringList{};
}

void LicencesTest::updateOrderLines()
{
    QFETCH(LicenceRows, rows);
    QFETCH(int, added);
    QFETCH(int, removed);
    QFETCH(QStringList, expected);

    WindowFixture f;
    clickMyLicences(f.window());
    typeTwoLines(f.window());
    for (int i = 0; i < added; ++i)
        addRow(f.window());
    fill(f->StringGrid_lizenzen, rows);
    for (int i = 0; i < removed; ++i)
        removeRow(f.window());
    const velmaro::Money itemPrice = f->itemPrice();

    WindowFixture::click(f->Button_orderupdates);

    // A text of two lines gets no header in front of the updates.
    QCOMPARE(linesFrom(f.window(), 0).mid(0, 2), (QStringList{"Ref 17", "Customer 4"}));
    QCOMPARE(linesFrom(f.window(), 2), expected);
    const velmaro::Money expectedSum = velmaro::Money::fromEuros(40) * expected.size();
    QCOMPARE(f->netSum(), expectedSum);
    QCOMPARE(f->Edit_sumnet->text(), QString::fromStdString(velmaro::MoneyText(expectedSum)));
    QCOMPARE(f->itemPrice(), itemPrice);
}

void LicencesTest::plusAfterUpdateOrderAddsTheItemsOwnPrice()
{
    WindowFixture f;
    clickMyLicences(f.window());
    fill(f->StringGrid_lizenzen, {{1, "Lumo Draw", "12"}});
    QCOMPARE(f->itemPrice(), velmaro::Money::fromCents(38300));

    WindowFixture::click(f->Button_orderupdates);
    WindowFixture::click(f->Button_add);

    QCOMPARE(f->orderText().count(), 9);
    QVERIFY2(f->orderText().line(8).endsWith(QStringLiteral(" : 383.00 EUR")),
             qPrintable(f->orderText().line(8)));
    QCOMPARE(f->netSum(), velmaro::Money::fromCents(42300));
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("423.00"));
}

void LicencesTest::spinArrowsAddAndRemoveRowsKeepingContents()
{
    WindowFixture f;
    TForm_order& w = f.window();
    StringGrid* grid = w.StringGrid_lizenzen;
    QAbstractItemModel* view = grid->model();
    clickMyLicences(w);
    fill(grid, {{8, "Pell Paint", "21"}, {9, "Vireo Type", "22"}});

    removeRow(w);
    QCOMPARE(grid->rowCount(), 8);
    QCOMPARE(view->rowCount(), 7);
    removeRow(w);
    QCOMPARE(grid->rowCount(), 7);

    addRow(w);
    addRow(w);
    QCOMPARE(grid->rowCount(), 9);
    QCOMPARE(view->index(7, 0).data().toString(), QStringLiteral("Pell Paint"));
    QCOMPARE(view->headerData(7, Qt::Vertical).toString(), QStringLiteral("8"));

    // Row 9 comes into view with its number and contents; row 10 is numbered ahead of it.
    addRow(w);
    QCOMPARE(grid->rowCount(), 10);
    QCOMPARE(view->rowCount(), 9);
    QCOMPARE(view->headerData(8, Qt::Vertical).toString(), QStringLiteral("9"));
    QCOMPARE(view->index(8, 1).data().toString(), QStringLiteral("22"));
    QCOMPARE(grid->cell(0, 10), QStringLiteral("10"));

    fill(grid, {{10, "Held Row", "23"}});
    typeTwoLines(w);
    WindowFixture::click(w.Button_orderupdates);
    QCOMPARE(linesFrom(w, 2), (QStringList{"1 Update Pell Paint #21 : 40.00 EUR",
                                           "1 Update Vireo Type #22 : 40.00 EUR"}));
}

void LicencesTest::rowCountStopsAtOneAndRowsComeBack()
{
    WindowFixture f;
    TForm_order& w = f.window();
    StringGrid* grid = w.StringGrid_lizenzen;
    clickMyLicences(w);
    fill(grid, {{1, "Sola Base", "1"}, {2, "Second Row", "2"}, {5, "Fifth Row", "5"}});

    for (int i = 0; i < 12; ++i)
        removeRow(w);
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->model()->rowCount(), 0);

    // Only the titles show, so the inquiry names no licence.
    typeTwoLines(w);
    WindowFixture::click(w.Button_upgrade);
    QCOMPARE(linesFrom(w, 2), inquiry({}));

    // Growing again brings every row back as it was, numbers included.
    for (int i = 0; i < 8; ++i)
        addRow(w);
    QCOMPARE(grid->rowCount(), 9);
    for (int row = 1; row <= 9; ++row)
        QCOMPARE(grid->cell(0, row), QString::number(row));
    QCOMPARE(grid->model()->index(4, 0).data().toString(), QStringLiteral("Fifth Row"));
}

void LicencesTest::rowsStayWithinWhatTheSavedOrderTakesBack()
{
    WindowFixture f;
    f->CheckBox_lizenzen->click();
    StringGrid* grid = f->StringGrid_lizenzen;
    grid->setRowCount(velmaro::kMaxTableRows - 1);
    addRow(f.window());
    addRow(f.window());
    QCOMPARE(grid->rowCount(), velmaro::kMaxTableRows);
    QCOMPARE(grid->cell(0, velmaro::kMaxTableRows), QString::number(velmaro::kMaxTableRows));

    // A table grown past the limit by other means is not saved, and nothing is lost.
    writeFile(QStringLiteral("order.qzo"), "previous");
    grid->setRowCount(velmaro::kMaxTableRows + 1);
    f->Button_save->click();
    QVERIFY(f.desktop.errors.value(0).startsWith("The license table has more than 10,000 rows"));
    QCOMPARE(fileBytes(QStringLiteral("order.qzo")), QByteArray("previous"));
    QVERIFY(!f->savedFlag());
}

void LicencesTest::upgradeInquiry_data()
{
    QTest::addColumn<LicenceRows>("rows");
    QTest::addColumn<QStringList>("owned");

    QTest::newRow("no program entered") << LicenceRows{{2, "", "40"}} << QStringList{};
    QTest::newRow("filled rows in row order, the held row 9 left out")
        << LicenceRows{{9, "Pell Paint", "3"}, {1, "Lumo Draw", ""}, {4, " ", "8"}}
        << QStringList{"Lumo Draw #", "  #8"};
}

void LicencesTest::upgradeInquiry()
{
    QFETCH(LicenceRows, rows);
    QFETCH(QStringList, owned);

    WindowFixture f;
    clickMyLicences(f.window());
    typeTwoLines(f.window());
    fill(f->StringGrid_lizenzen, rows);
    const velmaro::Money itemPrice = f->itemPrice();

    WindowFixture::click(f->Button_upgrade);

    QCOMPARE(linesFrom(f.window(), 0), QStringList({"Ref 17", "Customer 4"}) + inquiry(owned));
    QVERIFY(f->netSum().isZero());
    QCOMPARE(f->itemPrice(), itemPrice);
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("0"));
}

void LicencesTest::upgradeInquiryTwiceOnEmptyText()
{
    WindowFixture f;
    clickMyLicences(f.window());
    WindowFixture::click(f->Button_upgrade);
    WindowFixture::click(f->Button_upgrade);

    // No header: the text starts with the inquiry itself, and the block simply repeats.
    QCOMPARE(f->orderText().all(), inquiry({}) + inquiry({}));
    QCOMPARE(inquiry({}).size(), 7);
}

void LicencesTest::cellsAreEditedInPlace()
{
    WindowFixture f;
    TForm_order& w = f.window();
    StringGrid* grid = w.StringGrid_lizenzen;
    clickMyLicences(w);

    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 0));
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor != nullptr && editor != grid);
    // The recovery copy sees a cell being typed into, but Escape still takes the typing back.
    QTest::keyClicks(editor, QStringLiteral("Tavi Skech"));
    QCOMPARE(w.recoveryCopy().order.licenceRows[1][0], "Tavi Skech");
    QTest::keyClick(editor, Qt::Key_Escape);
    QCOMPARE(grid->cell(1, 2), QString());
    QTest::keyClick(grid, Qt::Key_F2);
    editor = QApplication::focusWidget();
    QTest::keyClicks(editor, QStringLiteral("Tavi Sketch"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate hands the text over from the event loop.
    QTRY_COMPARE(grid->cell(1, 2), QStringLiteral("Tavi Sketch"));
    QVERIFY(f.desktop.confirmations.isEmpty());

    QVERIFY(grid->model()->setData(grid->model()->index(1, 1), QStringLiteral("605")));
    QCOMPARE(grid->cell(2, 2), QStringLiteral("605"));

    typeTwoLines(w);
    WindowFixture::click(w.Button_orderupdates);
    QCOMPARE(linesFrom(w, 2), (QStringList{"1 Update Tavi Sketch #605 : 40.00 EUR"}));
}

void LicencesTest::unfinishedEditsAreNotLost()
{
    WindowFixture f;
    TForm_order& w = f.window();
    StringGrid* grid = w.StringGrid_lizenzen;
    clickMyLicences(w);
    typeTwoLines(w);

    auto startTyping = [&](int shownRow, const QString& text) {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(shownRow, 0));
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor != nullptr && editor != grid);
        QTest::keyClicks(editor, text);
    };

    // Still typing in the last shown row when the arrow takes that row out of view: the arrows
    // never take the focus, so nothing else ends the edit.
    startTyping(7, QStringLiteral("Half Typed"));
    removeRow(w);
    QCOMPARE(grid->rowCount(), 8);
    QCOMPARE(grid->cell(1, 8), QStringLiteral("Half Typed"));
    addRow(w);
    QCOMPARE(grid->model()->index(7, 0).data().toString(), QStringLiteral("Half Typed"));

    // Still typing when "Order Updates" is clicked: the typed program is ordered.
    startTyping(0, QStringLiteral("Kestrel Calc"));
    WindowFixture::click(w.Button_orderupdates);
    QCOMPARE(linesFrom(w, 2), (QStringList{"1 Update Kestrel Calc # : 40.00 EUR",
                                           "1 Update Half Typed # : 40.00 EUR"}));
}

QTEST_MAIN(LicencesTest)
#include "licences_test.moc"
