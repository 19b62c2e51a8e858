// The printed order and its PDF, read back with poppler's tools.
#include "form/payment_code_window.h"
#include "print/order_print.h"
#include "window_fixture.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
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

QByteArray scanned(WindowFixture& f, QWidget* window)
{
    window->grab().save(f.path(QStringLiteral("code.png")));
    return scannedCode(f.path(QStringLiteral("code.png")));
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void layoutWrapsAtBlanksAndNeverCuts();
    void pdfHoldsEveryLineOnNumberedPages();
    void failedPdfWriteKeepsThePreviousFile();
    void ctrlPOpensThePrintDialogOnly();
    void pdfEndsWithThePaymentCode();
    void paymentCodeWindowFollowsEveryClosingAndClear();
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

void PrintTest::pdfEndsWithThePaymentCode()
{
    WindowFixture f;
    WindowFixture::click(f->Button_add);
    WindowFixture::choose(f->ComboBox_location, 2);
    f->StringGrid_adresse->setCell(1, 1, QStringLiteral("R. Amsel"));
    WindowFixture::click(f->Button_zahlung);
    const QString pdf = f.desktop.saveFileChoice = f.path(QStringLiteral("order.pdf"));
    f->SaveOrderAsPdf();

    // The last page, as a scanner sees it printed at 150 dots per inch.
    const QString pages = QRegularExpression(QStringLiteral("Pages: +(\\d+)"))
                              .match(run(QStringLiteral("pdfinfo"), {pdf}))
                              .captured(1);
    run(QStringLiteral("pdftoppm"), {"-r", "150", "-f", pages, "-l", pages, "-singlefile", "-png",
                                     pdf, f.path(QStringLiteral("last"))});
    QCOMPARE(scannedCode(f.path(QStringLiteral("last.png"))),
             QByteArray::fromStdString(f->paymentCode().payload));
    QVERIFY(f->paymentCode().payload.ends_with(" R. Amsel"));
    const QString text = run(QStringLiteral("pdftotext"), {"-f", pages, "-l", pages, pdf, "-"});
    QVERIFY(text.contains(QString::fromStdString(f->paymentCode().text)));
}

void PrintTest::paymentCodeWindowFollowsEveryClosingAndClear()
{
    // Opened through the menu entry, which is there before any "---->".
    WindowFixture f;
    std::unique_ptr<QMenu>(f->createOrderTextMenu())
        ->findChild<QAction*>(QStringLiteral("action_payment_code"))
        ->trigger();
    auto* window = f->findChild<PaymentCodeWindow*>();
    QVERIFY(window && window->isVisible() && !window->isModal());
    QCOMPARE(window->accessibleName(), QStringLiteral("Payment code"));
    QCOMPARE(window->Label_caption->text(), QString::fromUtf8(velmaro::kNoPaymentCodeYet));
    QVERIFY(window->Image_code->isHidden());
    WindowFixture::click(f->Button_save);

    // Bank transfer: the company's line break becomes a blank.
    WindowFixture::click(f->Button_add);
    WindowFixture::choose(f->ComboBox_location, 2);
    f->StringGrid_adresse->setCell(1, 0, QStringLiteral("M\u00FCller & S\u00F6hne\nGmbH"));
    WindowFixture::click(f->Button_zahlung);
    QCOMPARE(window->Label_caption->text(),
             QStringLiteral("Scan with your banking app to pay 383.00 EUR to VELMARO Software"));
    const QByteArray transfer = "BCD\n002\n1\nSCT\nNHBKDEHH\nVELMARO Software\n"
                                "DE52123456784711081500\nEUR383.00\n\n\nOrder " +
                                QDate::currentDate().toString(Qt::ISODate).toUtf8() +
                                " M\xC3\xBCller & S\xC3\xB6hne GmbH";
    QCOMPARE(scanned(f, window), transfer);
    const PaymentCodeSymbol symbol(transfer.toStdString());
    QVERIFY(window->Image_code->pixmap().width() * symbol.size() >=
            PaymentCodeWindow::kMinCodeSide * symbol.sideWithQuietZone());

    // PayPal: a new "---->" replaces the code in the open window.
    WindowFixture::choose(f->ComboBox_zahlung, 1);
    WindowFixture::click(f->Button_zahlung);
    QCOMPARE(window->Label_caption->text(), QStringLiteral("Scan to pay 383.00 EUR with PayPal"));
    const QStringList text = f->orderText().all();
    QCOMPARE(scanned(f, window), text.filter(QStringLiteral("paypal")).constLast().toUtf8());

    WindowFixture::click(f->Button_clear);
    QCOMPARE(window->Label_caption->text(), QString::fromUtf8(velmaro::kNoPaymentCodeYet));
    QVERIFY(window->Image_code->isHidden());

    // Loading an order replaces the order text, so the code of the closing that was in it goes.
    WindowFixture::click(f->Button_add);
    WindowFixture::click(f->Button_zahlung);
    WindowFixture::click(f->Button_load);
    QCOMPARE(window->Label_caption->text(), QString::fromUtf8(velmaro::kNoPaymentCodeYet));

    f->close();
    QVERIFY(!window->isVisible());
}

QTEST_MAIN(PrintTest)
#include "print_test.moc"
