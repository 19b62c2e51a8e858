// The printed order and its PDF: the page layout, the PDF read back with poppler's tools, the
// context menu and Ctrl+P.
#include "order_print.h"
#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitCode() != 0)
        qFatal("%s failed; scripts/install-deps.sh installs it", qPrintable(program));
    return QString::fromUtf8(process.readAllStandardOutput());
}

void saveAsPdf(WindowFixture& f)
{
    std::unique_ptr<QMenu> menu(f->createOrderTextMenu());
    menu->findChild<QAction*>(QStringLiteral("action_pdf"))->trigger();
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void layoutWrapsAtBlanksAndNeverCuts();
    void pdfHoldsEveryLineOnNumberedPages();
    void failedPdfWriteKeepsThePreviousFile();
    void ctrlPOpensThePrintDialogOnly();
};

void PrintTest::layoutWrapsAtBlanksAndNeverCuts()
{
    // One unit per UTF-16 code unit, ten to the line.
    const TextMeasure units = [](QStringView text) { return qreal(text.size()); };
    const QString emoji = QStringLiteral("\U0001F600");
    const struct {
        QString line;
        QStringList printed;
    } cases[] = {
        {QStringLiteral("fits here"), {QStringLiteral("fits here")}},
        {QString(), {QString()}},
        {QStringLiteral("aaa bbb   ccc ddd"),
         {QStringLiteral("aaa bbb"), QStringLiteral("ccc ddd")}},
        {QStringLiteral("  indented words"),
         {QStringLiteral("  indented"), QStringLiteral("words")}},
        {QStringLiteral("ab 0123456789ABC de"),
         {QStringLiteral("ab"), QStringLiteral("0123456789"), QStringLiteral("ABC de")}},
        // A character made of two code units is never split.
        {QStringLiteral("x") + emoji.repeated(6),
         {QStringLiteral("x") + emoji.repeated(4), emoji.repeated(2)}},
    };
    for (const auto& c : cases)
        QCOMPARE(WrapLine(c.line, 10, units), c.printed);

    const QList<QStringList> pages = LayOutPages(
        {QStringLiteral("one two"), QStringLiteral("three four"), QStringLiteral("five")}, 5, 2,
        units);
    QCOMPARE(pages.size(), 3);
    QCOMPARE(pages.last(), QStringList{QStringLiteral("five")});
    QCOMPARE(LayOutPages({}, 5, 2, units).size(), 1);

    QCOMPARE(PageSizeForLocale(QLocale(QLocale::English, QLocale::UnitedStates)),
             QPageSize::Letter);
    QCOMPARE(PageSizeForLocale(QLocale(QLocale::French, QLocale::Canada)), QPageSize::Letter);
    QCOMPARE(PageSizeForLocale(QLocale(QLocale::German, QLocale::Germany)), QPageSize::A4);
}

void PrintTest::pdfHoldsEveryLineOnNumberedPages()
{
    WindowFixture f;
    std::vector<std::string> lines;
    for (int i = 1; i <= 200; ++i)
        lines.push_back(QStringLiteral("Line %1 : 1 x Lumo Individual English")
                            .arg(i, 3, 10, QLatin1Char('0'))
                            .toStdString());
    QStringList words;
    for (int i = 1; i <= 40; ++i)
        words << QStringLiteral("word%1").arg(i);
    lines.insert(lines.begin() + 100, words.join(QLatin1Char(' ')).toStdString());
    f->orderText().setLines(lines);
    f.desktop.saveFileChoice = f.path(QStringLiteral("kept.pdf"));

    // The standard entries stay, the new ones follow a separator.
    std::unique_ptr<QMenu> menu(f->createOrderTextMenu());
    const QList<QAction*> actions = menu->actions();
    QVERIFY(actions.first()->text().contains(QStringLiteral("Undo")));
    QCOMPARE(actions.at(actions.size() - 3)->isSeparator(), true);
    QCOMPARE(actions.last()->text().remove(QLatin1Char('&')), QStringLiteral("Save as PDF…"));
    saveAsPdf(f);

    QCOMPARE(f.desktop.saveFileOffers,
             QStringList{QDir::current().absoluteFilePath(QStringLiteral("order.pdf"))});
    QVERIFY(f.desktop.errors.isEmpty());
    const QString info = run(QStringLiteral("pdfinfo"), {f.desktop.saveFileChoice});
    QVERIFY(info.contains(
        QRegularExpression(QStringLiteral("Title: +Purchase Order to VELMARO Software"))));
    const int pages =
        QRegularExpression(QStringLiteral("Pages: +(\\d+)")).match(info).captured(1).toInt();
    QVERIFY(pages > 1);

    const QString text =
        run(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), f.desktop.saveFileChoice, QStringLiteral("-")});
    qsizetype at = 0;
    for (const std::string& line : lines) {
        // Every word of every line, in order; the long line wraps onto a second printed line.
        for (const QString& word : QString::fromStdString(line).split(QLatin1Char(' '))) {
            at = text.indexOf(word, at);
            QVERIFY2(at >= 0, qPrintable(word));
        }
    }
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("word1 .*word40"))));
    for (int page = 1; page <= pages; ++page)
        QVERIFY(text.contains(PageFooter(page, pages)));
    QVERIFY(!f->savedFlag());
}

void PrintTest::failedPdfWriteKeepsThePreviousFile()
{
    WindowFixture f;
    const QByteArray previous = "%PDF previous";
    writeFile(QStringLiteral("order.pdf"), previous);
    QFile::setPermissions(QStringLiteral("order.pdf"), QFile::ReadOwner);
    f->orderText().setLines({"1 x Lumo Individual English : 100.00 EUR"});
    f.desktop.saveFileChoice = f.path(QStringLiteral("order.pdf"));
    saveAsPdf(f);

    QCOMPARE(fileBytes(QStringLiteral("order.pdf")), previous);
    QCOMPARE(f.desktop.errors.size(), 1);
    QVERIFY(f.desktop.errors.first().contains(QStringLiteral("read-only")));

    QFile::setPermissions(QStringLiteral("order.pdf"), QFile::ReadOwner | QFile::WriteOwner);
    saveAsPdf(f);
    QCOMPARE(f.desktop.errors.size(), 1);
    QVERIFY(fileBytes(QStringLiteral("order.pdf")).startsWith("%PDF-"));
}

void PrintTest::ctrlPOpensThePrintDialogOnly()
{
    WindowFixture f;
    f->orderText().setLines({"kept"});
    f->Memo1->setFocus();
    ModalWatch watch;
    QTest::keyClick(f->Memo1, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(watch.seen.size(), 1);
    QCOMPARE(f->Memo1->toPlainText(), QStringLiteral("kept\n"));
    QVERIFY(f->isVisible());
}

QTEST_MAIN(PrintTest)
#include "print_test.moc"
