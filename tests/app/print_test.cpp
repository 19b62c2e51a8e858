// The printed order and its PDF, read back with poppler's tools.
#include "print/order_print.h"
#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
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
    // One unit per UTF-16 code unit, ten to the line; "|" separates the printed lines.
    const TextMeasure units = [](QStringView text) { return qreal(text.size()); };
    for (const auto& [line, printed] : {
             std::pair{"  aaa bbb   ccc dd", "  aaa bbb|ccc dd"},
             std::pair{"ab 0123456789ABC de", "ab|0123456789|ABC de"},
             std::pair{"x\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600",
                       "x\U0001F600\U0001F600\U0001F600\U0001F600|\U0001F600\U0001F600"},
             std::pair{"   0123456789ABC", "0123456789|ABC"}, // no empty line for the indent
         })
        QCOMPARE(LayOutPages({QString::fromUtf8(line)}, 10, 9, units).first().join('|'),
                 QString::fromUtf8(printed));
    // A tab reaches the next multiple of eight columns.
    QCOMPARE(LayOutPages({"a\tb", "12345678\tb", "1234567\tb c\td"}, 80, 9, units).first(),
             (QStringList{"a       b", "12345678        b", "1234567 b c     d"}));

    // Pages of 9 printed lines (11 rows: the lines, an empty one, the footer), filled in order.
    QCOMPARE(PrintedLinesPerPage(110, 10), 9);
    QCOMPARE(PrintedLinesPerPage(119.9, 10), 9);
    QStringList lines;
    for (int i = 1; i <= 19; ++i)
        lines << QString::number(i);
    const QList<QStringList> pages = LayOutPages(lines, 10, 9, units);
    QCOMPARE(pages, (QList<QStringList>{lines.mid(0, 9), lines.mid(9, 9), lines.mid(18)}));
    QCOMPARE(LayOutPages(lines.mid(0, 18), 10, 9, units).size(), 2);
}

void PrintTest::pdfHoldsEveryLineOnNumberedPages()
{
    WindowFixture f;
    std::vector<std::string> lines;
    for (int i = 1; i <= 200; ++i)
        lines.push_back("Line " + std::to_string(1000 + i) + " : 1 x Lumo Individual English");
    std::string longLine = "word0";
    for (int i = 1; i <= 40; ++i)
        longLine += " word" + std::to_string(i);
    lines.insert(lines.begin() + 100, longLine);
    f->orderText().setLines(lines);
    const QString pdf = f.desktop.saveFileChoice = f.path(QStringLiteral("kept.pdf"));

    // The standard entries stay, the new ones follow a separator.
    std::unique_ptr<QMenu> menu(f->createOrderTextMenu());
    const QList<QAction*> actions = menu->actions();
    QVERIFY(actions.first()->text().contains(QStringLiteral("Undo")));
    QVERIFY(actions.at(actions.size() - 3)->isSeparator());
    QCOMPARE(actions.last()->text().remove(QLatin1Char('&')), QStringLiteral("Save as PDF…"));
    actions.last()->trigger();

    QCOMPARE(f.desktop.saveFileOffers, QStringList{QDir::current().filePath("order.pdf")});
    QVERIFY(f.desktop.errors.isEmpty() && !f->savedFlag());
    const auto pageCount = [](const QString& file) {
        const QString info = run(QStringLiteral("pdfinfo"), {file});
        return QRegularExpression(QStringLiteral("Pages: +(\\d+)")).match(info).captured(1).toInt();
    };
    QVERIFY(run(QStringLiteral("pdfinfo"), {pdf}).contains("Purchase Order to VELMARO Software"));
    const int pages = pageCount(pdf);
    QVERIFY(pages > 1);

    // Every word of every line in order, the long line on two printed lines, every footer.
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
    qsizetype at = 0;
    for (const std::string& line : lines)
        for (const QString& word : QString::fromStdString(line).split(QLatin1Char(' ')))
            QVERIFY2((at = text.indexOf(word, at)) >= 0, qPrintable(word));
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("word0 .*word40"))));
    for (int page = 1; page <= pages; ++page)
        QVERIFY(text.contains(PageFooter(page, pages)));

    QPrinter beyond; // a page range past the end gives no blank sheet
    beyond.setOutputFileName(f.path(QStringLiteral("beyond.pdf")));
    beyond.setFromTo(pages + 1, pages + 1);
    QVERIFY(PaintOrder(beyond, {QStringLiteral("kept")}, QFont()) && !QFile::exists("beyond.pdf"));

    QPrinter last; // the last page to the last page: that page alone
    last.setOutputFileName(f.path(QStringLiteral("last.pdf")));
    last.setFromTo(pages, pages);
    QFont printed(f->Memo1->font().family()); // as the window prints
    printed.setPointSizeF(kPrintPointSize);
    QVERIFY(PaintOrder(last, f->orderText().all(), printed));
    QCOMPARE(pageCount(QStringLiteral("last.pdf")), 1);
    const QString lastPage = run(QStringLiteral("pdftotext"), {QStringLiteral("last.pdf"), "-"});
    QVERIFY(lastPage.contains(PageFooter(pages, pages)) && lastPage.contains("Line 1200"));
}

void PrintTest::failedPdfWriteKeepsThePreviousFile()
{
    WindowFixture f;
    writeFile(QStringLiteral("order.pdf"), "%PDF previous");
    QFile::setPermissions(QStringLiteral("order.pdf"), QFile::ReadOwner);
    for (const auto& [target, why] :
         {std::pair{"order.pdf", "read-only"}, std::pair{"", "folder of that name"},
          std::pair{"missing/order.pdf", "does not exist"}}) {
        f.desktop.saveFileChoice = f.path(QString::fromLatin1(target));
        f->SaveOrderAsPdf();
        QVERIFY2(f.desktop.errors.constLast().contains(QString::fromLatin1(why)), target);
    }
    QCOMPARE(fileBytes(QStringLiteral("order.pdf")), QByteArray("%PDF previous"));
}

void PrintTest::ctrlPOpensThePrintDialogOnly()
{
    WindowFixture f;
    f->orderText().setLines({"kept"});
    ModalWatch watch;
    QTest::keyClick(f->Memo1, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(watch.seen.size(), 1);
    QCOMPARE(f->Memo1->toPlainText(), QStringLiteral("kept\n"));
}

QTEST_MAIN(PrintTest)
#include "print_test.moc"
