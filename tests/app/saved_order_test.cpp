// order.qzo through the real window: what a save writes, what the next start restores, and
// what a damaged or missing file does to the window.
#include "core/money.h"
#include "core/order_file.h"
#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString kOrderFile = QStringLiteral("order.qzo");

QByteArray crLfLines(const QList<QByteArray>& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// What a fresh window saves: R = 9, A = 6, "European Union", "Email / Download",
// "Bank transfer", empty texts, no order lines, net sum 0.
QList<QByteArray> freshFileLines()
{
    QList<QByteArray> lines{"9"};
    for (int i = 0; i < 45; ++i)
        lines << "";
    lines << "6";
    for (int i = 0; i < 7; ++i)
        lines << "";
    lines << "1"
          << "0"
          << "0";
    for (int i = 0; i < 7; ++i)
        lines << "";
    lines << "0"
          << " 0.00000000000000E+0000";
    return lines;
}

QList<QLineEdit*> storedFields(TForm_order& w)
{
    return {w.Edit_vatno, w.Edit_visa1,   w.Edit_visa2,     w.Edit_visa3,
            w.Edit_visa4, w.Edit_expdate, w.Edit_cardholder};
}

// Everything a load may change, as one comparable list.
QStringList snapshot(TForm_order& w)
{
    QStringList state;
    state << QString::number(w.StringGrid_lizenzen->rowCount())
          << QString::number(w.StringGrid_adresse->rowCount());
    for (int row = 0; row <= 14; ++row)
        for (int col = 0; col < 6; ++col)
            state << w.StringGrid_lizenzen->cell(col, row);
    for (int row = 0; row <= 8; ++row)
        state << w.StringGrid_adresse->cell(0, row) << w.StringGrid_adresse->cell(1, row);
    state << QString::number(w.ComboBox_location->currentIndex())
          << QString::number(w.ComboBox_versand->currentIndex())
          << QString::number(w.ComboBox_zahlung->currentIndex());
    for (QLineEdit* field : storedFields(w))
        state << field->text();
    state << w.Memo1->toPlainText() << w.Edit_sumnet->text() << QString::number(w.netSum().units());
    return state;
}

// A customer's order with a cell in every stored place.
velmaro::SavedOrder sampleOrder()
{
    velmaro::SavedOrder order;
    order.licenceRowCount = 9;
    order.licenceRows.assign(9, {});
    order.licenceRows[0] = {"Lumo ", "4711", "5.2", "3", "office"};
    order.licenceRows[8] = {"Tessaline", "815", "", "", "held past the shown rows"};
    order.addressRowCount = 6;
    order.addressCells = {"Example Ltd",     "Ann Example",     "Harbour Road 5", "",
                          "12345 Portville", "ann@example.org", "seventh"};
    order.location = 2;
    order.delivery = 1;
    order.payment = 1;
    order.texts = {"ATU12345678", "411122223333", "4444", "5555", "6666", "12/2031", "Ann Example"};
    order.orderLines = {"Purchase Order to VELMARO Software", "", "1 x Lumo : 383.00 EUR"};
    order.netSum = velmaro::Money::fromEuros(1530);
    return order;
}

QByteArray formatted(const velmaro::SavedOrder& order)
{
    return QByteArray::fromStdString(velmaro::FormatOrderFile(order));
}

} // namespace

class SavedOrderTest : public QObject {
    Q_OBJECT
private slots:
    void freshWindowSavesSixtySixLines();
    void nextStartRestoresTheForm();
    void rowsPastTheShownOnesTravel();
    void preparedFileRestoresTextsAndNetSum_data();
    void preparedFileRestoresTextsAndNetSum();
    void damagedFileLeavesTheWindowUnchanged_data();
    void damagedFileLeavesTheWindowUnchanged();
    void damagedFileAtStartIsReported();
    void loadWithoutFileReportsFileNotFound();
    void fileEndingEarlyLoadsWhatItHolds();
    void savingTwiceWritesTwice();
    void hostileFileAtStart_data();
    void hostileFileAtStart();
};

void SavedOrderTest::freshWindowSavesSixtySixLines()
{
    WindowFixture f;
    f->Button_save->click();
    QVERIFY(f.desktop.errors.isEmpty());
    QVERIFY(f->savedFlag());
    const QByteArray bytes = fileBytes(kOrderFile);
    QCOMPARE(bytes.count("\r\n"), 66);
    QCOMPARE(bytes, crLfLines(freshFileLines()));
}

void SavedOrderTest::nextStartRestoresTheForm()
{
    WindowFixture f;
    QTest::keyClicks(f->Edit_vatno, QStringLiteral("ATU99999999"));
    for (int row = 1; row <= 9; ++row)
        for (int col = 1; col <= 5; ++col)
            f->StringGrid_lizenzen->setCell(col, row, QStringLiteral("r%1c%2").arg(row).arg(col));
    for (int row = 0; row <= 6; ++row)
        f->StringGrid_adresse->setCell(1, row, QStringLiteral("address %1").arg(row));
    WindowFixture::choose(f->ComboBox_location, 2);
    WindowFixture::choose(f->ComboBox_versand, 1);
    WindowFixture::choose(f->ComboBox_zahlung, 1);
    const QStringList card = {"4111", "2222", "3333", "4444", "12/29", "Ann Example"};
    for (int i = 0; i < card.size(); ++i)
        storedFields(f.window())[i + 1]->setText(card[i]);
    f->orderText().setLines({"Purchase Order to VELMARO Software", "", "1 x Lumo : 383.00 EUR",
                             "M\u00fcller #7 & S\u00f6hne", "  indented  "});
    const QStringList before = snapshot(f.window());

    f->Button_save->click();
    QVERIFY(f.desktop.errors.isEmpty());
    // The payment choice is written even though it is not restored.
    QCOMPARE(fileBytes(kOrderFile).split('\n').value(56), QByteArray("1\r"));

    f.restart();

    QVERIFY(f.desktop.errors.isEmpty());
    QStringList after = snapshot(f.window());
    QCOMPARE(f->ComboBox_zahlung->currentText(), QStringLiteral("Bank transfer"));
    QCOMPARE(f->ComboBox_location->currentText(), QStringLiteral("World"));
    QCOMPARE(f->ComboBox_versand->currentText(), QStringLiteral("CD-ROM"));
    QCOMPARE(f->Edit_sumnet->text(), QStringLiteral("0.00"));
    QVERIFY(!f->savedFlag());
    // Apart from the payment (always bank transfer) and the sum's display, all came back.
    QStringList expected = before;
    const int paymentAt = static_cast<int>(expected.size()) - 7 - 3 - 1;
    QCOMPARE(expected[paymentAt], QStringLiteral("1"));
    expected[paymentAt] = QStringLiteral("0");
    expected[expected.size() - 2] = QStringLiteral("0.00");
    QCOMPARE(after, expected);
}

void SavedOrderTest::rowsPastTheShownOnesTravel()
{
    WindowFixture f;
    for (int i = 0; i < 3; ++i)
        f->SpinButton_lizenzenDownClick();
    QCOMPARE(f->StringGrid_lizenzen->rowCount(), 12);
    for (int row = 10; row <= 13; ++row)
        f->StringGrid_lizenzen->setCell(1, row, QStringLiteral("row %1").arg(row));
    f->Button_save->click();
    QList<QByteArray> lines = fileBytes(kOrderFile).split('\n');
    QCOMPARE(lines[0], QByteArray("12\r"));
    QCOMPARE(lines[1 + 60], QByteArray("6\r"));
    QCOMPARE(lines[1 + 55], QByteArray("row 12\r"));

    f.restart();
    QCOMPARE(f->StringGrid_lizenzen->rowCount(), 12);
    for (int row = 10; row <= 12; ++row)
        QCOMPARE(f->StringGrid_lizenzen->cell(1, row), QStringLiteral("row %1").arg(row));
    // Row 13 lies past R and is not stored; the rows up to the held one are numbered.
    QCOMPARE(f->StringGrid_lizenzen->cell(1, 13), QString());
    QCOMPARE(f->StringGrid_lizenzen->cell(0, 12), QStringLiteral("12"));

    // A removed row becomes the held row past the end and keeps its cells in the file.
    f->SpinButton_lizenzenUpClick();
    f->Button_save->click();
    f.restart();
    QCOMPARE(f->StringGrid_lizenzen->rowCount(), 11);
    QCOMPARE(f->StringGrid_lizenzen->cell(1, 11), QStringLiteral("row 11"));
    QCOMPARE(f->StringGrid_lizenzen->cell(1, 12), QString());
}

void SavedOrderTest::preparedFileRestoresTextsAndNetSum_data()
{
    QTest::addColumn<QByteArray>("netSumLine");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("messages");

    const QStringList unread{QString::fromUtf8(velmaro::kNetSumUnreadMessage)};
    QTest::newRow("net sum") << QByteArray(" 1.53000000000000E+0003\r\n") << qint64(153000)
                             << "1,530.00" << QStringList();
    QTest::newRow("net sum line missing") << QByteArray() << qint64(0) << "0.00" << unread;
    QTest::newRow("net sum line damaged")
        << QByteArray("15,30\r\n") << qint64(0) << "0.00" << unread;
}

void SavedOrderTest::preparedFileRestoresTextsAndNetSum()
{
    QFETCH(QByteArray, netSumLine);
    QFETCH(qint64, cents);
    QFETCH(QString, shown);
    QFETCH(QStringList, messages);
    const velmaro::SavedOrder order = sampleOrder();
    QByteArray bytes = formatted(order);
    bytes.chop(25); // the net-sum line
    bytes += netSumLine;
    WindowFixture f([&] { writeFile(kOrderFile, bytes); });

    QVERIFY(f.desktop.errors.isEmpty());
    // The input limits (4 for a card group, 5 for the expiry) are for typing only.
    const QList<QLineEdit*> fields = storedFields(f.window());
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(fields[i]->text(), QString::fromStdString(order.texts[static_cast<size_t>(i)]));
    QCOMPARE(f->orderText().allUtf8(), order.orderLines);
    QCOMPARE(f->StringGrid_lizenzen->cell(1, 1), QStringLiteral("Lumo "));
    QCOMPARE(f->StringGrid_lizenzen->cell(5, 9), QStringLiteral("held past the shown rows"));
    QCOMPARE(f->StringGrid_adresse->cell(1, 6), QStringLiteral("seventh"));
    QCOMPARE(f->StringGrid_adresse->cell(0, 0), QStringLiteral("Company"));
    QCOMPARE(f->netSum(), velmaro::Money::fromCents(cents));
    QCOMPARE(f->Edit_sumnet->text(), shown);
    QCOMPARE(f.desktop.messages, messages);

    // Saved again, the file says what the window holds, long texts and net sum included.
    f->Button_save->click();
    velmaro::SavedOrder again = order;
    again.netSum = velmaro::Money::fromCents(cents);
    again.payment = 0;
    QCOMPARE(fileBytes(kOrderFile), formatted(again));
}

void SavedOrderTest::damagedFileLeavesTheWindowUnchanged_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("abc as row count") << 0 << QByteArray("abc");
    QTest::newRow("abc as location") << 54 << QByteArray("abc");
    QTest::newRow("abc as line count") << 64 << QByteArray("abc");
    QTest::newRow("count with a letter") << 46 << QByteArray("6x");
    QTest::newRow("index beyond 32 bits") << 55 << QByteArray("99999999999");
    QTest::newRow("row count above the limit") << 0 << QByteArray("10001");
    QTest::newRow("line count above the limit") << 64 << QByteArray("1000001");
}

void SavedOrderTest::damagedFileLeavesTheWindowUnchanged()
{
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    WindowFixture f;
    f->StringGrid_lizenzen->setCell(1, 1, QStringLiteral("Lumo "));
    f->StringGrid_adresse->setCell(1, 0, QStringLiteral("Example Ltd"));
    WindowFixture::choose(f->ComboBox_location, 2);
    f->Edit_visa1->setText(QStringLiteral("4111"));
    f->orderText().setLines({"kept line"});
    const QStringList before = snapshot(f.window());

    // A file that would change everything, but for its damaged line.
    QList<QByteArray> lines = formatted(sampleOrder()).split('\n');
    for (QByteArray& l : lines)
        l.chop(1);
    lines.removeLast();
    lines[line] = text;
    writeFile(kOrderFile, crLfLines(lines));

    WindowFixture::click(f->Button_load);

    QCOMPARE(f.desktop.errors, QStringList{QStringLiteral("Invalid numeric input.")});
    QCOMPARE(snapshot(f.window()), before);
}

void SavedOrderTest::damagedFileAtStartIsReported()
{
    WindowFixture f([] { writeFile(kOrderFile, "abc\r\n"); });
    QCOMPARE(f.desktop.errors, QStringList{QStringLiteral("Invalid numeric input.")});
    QCOMPARE(f->Memo1->toPlainText(), QString());
    QCOMPARE(f->StringGrid_lizenzen->rowCount(), 9);
    QCOMPARE(f->ComboBox_location->currentIndex(), 1);
    QVERIFY(f->netSum().isZero());
}

void SavedOrderTest::loadWithoutFileReportsFileNotFound()
{
    WindowFixture f;
    f->orderText().setLines({"kept line"});
    const QStringList before = snapshot(f.window());
    f->Button_load->click();
    QCOMPARE(f.desktop.errors, QStringList{QStringLiteral("File not found.")});
    QCOMPARE(snapshot(f.window()), before);
}

void SavedOrderTest::fileEndingEarlyLoadsWhatItHolds()
{
    // The file stops inside the location line: the tables come back, "7" is no location, the
    // rest reads as zeros and empty texts.
    QList<QByteArray> lines = formatted(sampleOrder()).split('\n');
    QByteArray bytes;
    for (int i = 0; i < 54; ++i)
        bytes += lines[i] + '\n';
    bytes += "7";
    WindowFixture f;
    f->Edit_vatno->setText(QStringLiteral("old"));
    f->orderText().setLines({"old line"});
    writeFile(kOrderFile, bytes);

    f->Button_load->click();

    QVERIFY(f.desktop.errors.isEmpty());
    QCOMPARE(f->StringGrid_lizenzen->cell(2, 1), QStringLiteral("4711"));
    QCOMPARE(f->StringGrid_adresse->cell(1, 5), QStringLiteral("ann@example.org"));
    QCOMPARE(f->ComboBox_location->currentIndex(), -1);
    QCOMPARE(f->ComboBox_versand->currentIndex(), 0);
    QCOMPARE(f->ComboBox_zahlung->currentIndex(), 0);
    QCOMPARE(f->Edit_vatno->text(), QString());
    QCOMPARE(f->Memo1->toPlainText(), QString());
    QVERIFY(f->netSum().isZero());
    QCOMPARE(f.desktop.messages, QStringList{QString::fromUtf8(velmaro::kNetSumUnreadMessage)});
    QCOMPARE(fileBytes(kOrderFile), bytes);

    // Nothing at all: one-row tables, no selections past the lists' starts.
    writeFile(kOrderFile, "");
    f->Button_load->click();
    QVERIFY(f.desktop.errors.isEmpty());
    QCOMPARE(f->StringGrid_lizenzen->rowCount(), 1);
    QCOMPARE(f->StringGrid_adresse->rowCount(), 1);
    QCOMPARE(f->StringGrid_lizenzen->cell(2, 1), QString());
    QCOMPARE(f->ComboBox_location->currentIndex(), 0);

    // At the start, the box comes over the window as it shows the loaded order: a price, and
    // the guide or the licence table, not both.
    f.desktop.messages.clear();
    QStringList behindTheBox;
    f.desktop.whileMessageShows = [&] {
        behindTheBox << f->Edit_einzelpreis->text()
                     << QString::number(f->Label_help->isVisible() +
                                        f->StringGrid_lizenzen->isVisible());
    };
    f.restart();
    QCOMPARE(f.desktop.messages.size(), 1);
    QCOMPARE(behindTheBox, (QStringList{f->Edit_einzelpreis->text(), "1"}));
}

void SavedOrderTest::savingTwiceWritesTwice()
{
    WindowFixture f;
    f->orderText().setLines({"first"});
    f->Button_save->click();
    f->orderText().setLines({"second", "third"});
    f->Button_save->click();
    QVERIFY(f.desktop.errors.isEmpty());
    QVERIFY(f->savedFlag());
    const QList<QByteArray> lines = fileBytes(kOrderFile).split('\n');
    QCOMPARE(lines.mid(64, 3), (QList<QByteArray>{"2\r", "second\r", "third\r"}));
}

void SavedOrderTest::hostileFileAtStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("netSumLine"); // of the sample order
    QTest::addColumn<qint64>("cents");          // the net sum read; -1: the defaults stayed
    QTest::addColumn<QString>("error");

    const QString denied = QStringLiteral("File access denied.");
    const QByteArray sum = " 1.53000000000000E+0003";
#ifdef Q_OS_UNIX
    QTest::newRow("pipe") << "pipe" << sum << qint64(-1) << denied;
    QTest::newRow("link to a pipe") << "pipe link" << sum << qint64(-1) << denied;
    QTest::newRow("link to a device") << "device" << sum << qint64(-1) << denied;
#endif
    QTest::newRow("directory") << "directory" << sum << qint64(-1) << denied;
    QTest::newRow("sparse file past the bound")
        << "sparse" << sum << qint64(-1) << "Invalid numeric input.";
    QTest::newRow("sparse file at the bound")
        << "sparse, at the bound" << sum << qint64(153000) << QString();
    QTest::newRow("LF line ends") << "LF" << sum << qint64(153000) << QString();
    QTest::newRow("written on Windows") << "Windows-1252" << sum << qint64(153000) << QString();
    QTest::newRow("UTF-8 with a character cut off at the end")
        << "cut UTF-8" << sum << qint64(153000) << QString();
    QTest::newRow("UTF-8 with a byte-order mark") << "BOM" << sum << qint64(153000) << QString();
    QTest::newRow("net sum at the limit")
        << "CR LF" << QByteArray(" 1.00000000000000E+0009") << qint64(100'000'000'000) << QString();
    QTest::newRow("net sum past the limit")
        << "CR LF" << QByteArray(" 8.00000000000000E+0010") << qint64(0) << QString();
}

void SavedOrderTest::hostileFileAtStart()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, netSumLine);
    QFETCH(qint64, cents);
    QFETCH(QString, error);
    velmaro::SavedOrder order = sampleOrder();
    order.licenceRowCount = 40;
    order.licenceRows.resize(40);
    if (kind == QLatin1String("Windows-1252"))
        order.texts[0] = "M\xfcller \x80";
    else if (kind == QLatin1String("cut UTF-8") || kind == QLatin1String("BOM"))
        order.texts[0] = "M\u00fcller \u20ac";
    QByteArray bytes = formatted(order);
    bytes.chop(25);
    bytes += netSumLine + "\r\n";
    if (kind == QLatin1String("cut UTF-8"))
        bytes += "\xe2\x82";
    else if (kind == QLatin1String("BOM"))
        bytes.prepend("\xef\xbb\xbf");

    WindowFixture f([&] {
#ifdef Q_OS_UNIX
        if (kind == QLatin1String("pipe"))
            QVERIFY(mkfifo("order.qzo", 0600) == 0);
        if (kind == QLatin1String("pipe link"))
            QVERIFY(mkfifo("pipe", 0600) == 0 && QFile::link(QStringLiteral("pipe"), kOrderFile));
#endif
        if (kind == QLatin1String("device"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), kOrderFile));
        else if (kind == QLatin1String("directory"))
            QVERIFY(QDir().mkdir(kOrderFile));
        else if (!kind.startsWith(QLatin1String("pipe")))
            writeFile(kOrderFile,
                      kind == QLatin1String("LF") ? bytes.replace("\r\n", "\n") : bytes);
        if (kind.startsWith(QLatin1String("sparse")))
            QVERIFY(QFile::resize(kOrderFile,
                                  velmaro::kMaxOrderFileBytes + (kind == QLatin1String("sparse"))));
    });

    QCOMPARE(f.desktop.errors, error.isEmpty() ? QStringList() : QStringList{error});
    if (cents < 0) {
        QCOMPARE(f->Memo1->toPlainText(), QString());
        QCOMPARE(f->ComboBox_location->currentIndex(), 1);
        // Nor is anything but a regular file replaced (not tried on /dev/zero, which is at stake).
        if (error == QLatin1String("File access denied.") && kind != QLatin1String("device")) {
            f->Button_save->click();
            QCOMPARE(f.desktop.errors, QStringList(2, error));
            QVERIFY(!QFileInfo(kOrderFile).isFile() && !f->savedFlag());
        }
        return;
    }
    for (int row = 1; row <= 40; ++row)
        QCOMPARE(f->StringGrid_lizenzen->cell(0, row), QString::number(row));
    // Saved again, the file holds everything as it was written, in the system code page.
    if (kind == QLatin1String("Windows-1252"))
        order.texts[0] = "M\u00fcller \u20ac";
    order.payment = 0;
    order.netSum = velmaro::Money::fromCents(cents);
    f->Button_save->click();
    QCOMPARE(fileBytes(kOrderFile), formatted(order));

    // At the net sum's limit "+" adds nothing.
    WindowFixture::click(f->Button_add);
    const bool atLimit = order.netSum == velmaro::kMaxNetSum;
    QCOMPARE(f->orderText().count(), static_cast<int>(order.orderLines.size()) + !atLimit);
    QCOMPARE(f.desktop.errors, atLimit
                                   ? QStringList{"The net sum would exceed 1,000,000,000.00 EUR."}
                                   : QStringList());
}

QTEST_MAIN(SavedOrderTest)
#include "saved_order_test.moc"
