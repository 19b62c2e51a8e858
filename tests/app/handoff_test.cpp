// The order text leaving the window: the mail request, the clipboard and outwin.txt.
#include "core/mail_request.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

namespace {

// The body of the only recorded mail request, percent-decoded as a mail program reads it.
QString decodedBody(const RecordingDesktop& desktop)
{
    const QByteArray prefix = QByteArray::fromStdString(velmaro::MailRequestPrefix());
    const QByteArray request = desktop.mailRequests.value(0);
    if (desktop.mailRequests.size() != 1 || !request.startsWith(prefix))
        return QStringLiteral("<no request with the prefix>");
    return QUrl::fromPercentEncoding(request.mid(prefix.size()));
}

} // namespace

class HandoffTest : public QObject {
    Q_OBJECT
private slots:
    void mailRequestCarriesTheOrderText_data();
    void mailRequestCarriesTheOrderText();
    void threeLineExampleGivesExactBytes();
    void emailTwiceHandsOnTwoRequests();
    void mailWithoutMailProgramTellsTheUserAndLeavesTheFlag();
    void handOffOperationsLeaveTheMailedFlag();
    void handOffThroughTheOpener_data();
    void handOffThroughTheOpener();
    void clipboardHoldsTheWholeText_data();
    void clipboardHoldsTheWholeText();
    void notepadWritesOutwinByteForByte_data();
    void notepadWritesOutwinByteForByte();
    void notepadOverwritesOutwinEachTime();
    void everyLineBreakIsOneLineEverywhere();
};

void HandoffTest::mailRequestCarriesTheOrderText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("body");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no final line break") << "first\nsecond"
                                         << "first\nsecond\n";
    // The empty remainder after the final break is no line of its own.
    QTest::newRow("final line break") << "first\nsecond\n"
                                      << "first\nsecond\n";
    QTest::newRow("empty lines kept") << "a\n\n\nb\n"
                                      << "a\n\n\nb\n";
    QTest::newRow("characters a URL would eat")
        << "1 Update Lumo #4711 : 40.00 EUR\nA & B ? 50% + 5 = x;y/z\n"
        << "1 Update Lumo #4711 : 40.00 EUR\nA & B ? 50% + 5 = x;y/z\n";
    QTest::newRow("letters outside ASCII") << "Stra\u00dfe 1, M\u00fcller \u00e4\u00f6\u00fc\n"
                                           << "Stra\u00dfe 1, M\u00fcller \u00e4\u00f6\u00fc\n";
}

void HandoffTest::mailRequestCarriesTheOrderText()
{
    QFETCH(QString, text);
    QFETCH(QString, body);
    WindowFixture f;
    f->Memo1->setPlainText(text);

    WindowFixture::click(f->Button_email);

    QCOMPARE(decodedBody(f.desktop), body);
    const QByteArray request = f.desktop.mailRequests.value(0);
    // Raw, each of these would end the body or start another field in a mail program.
    const QByteArray rawBody = request.mid(request.indexOf("&body=") + 6);
    for (char c : {'#', '&', '?', '+', ' ', '\n', '\r'})
        QVERIFY2(!rawBody.contains(c), rawBody.constData());
    for (char c : rawBody)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, rawBody.constData());
    QVERIFY(f->mailedFlag());
    QCOMPARE(f->Memo1->toPlainText(), text);
    QVERIFY(f.desktop.messages.isEmpty());
}

void HandoffTest::threeLineExampleGivesExactBytes()
{
    WindowFixture f;
    f->orderText().setLines({"Purchase Order to VELMARO Software", "", "P.O.:"});
    WindowFixture::click(f->Button_email);
    QCOMPARE(f.desktop.mailRequests,
             QList<QByteArray>{"MAILTO:orders@velmaro-software.example?subject=Purchase%20Order"
                               "&body=Purchase%20Order%20to%20VELMARO%20Software%0A%0AP.O.%3A%0A"});

    f.desktop.mailRequests.clear();
    f->Memo1->clear();
    WindowFixture::click(f->Button_email);
    QCOMPARE(f.desktop.mailRequests,
             QList<QByteArray>{"MAILTO:orders@velmaro-software.example?subject=Purchase%20Order"
                               "&body="});
}

void HandoffTest::emailTwiceHandsOnTwoRequests()
{
    WindowFixture f;
    f->Memo1->setPlainText(QStringLiteral("one line\n"));
    WindowFixture::click(f->Button_email);
    WindowFixture::click(f->Button_email);
    QCOMPARE(f.desktop.mailRequests.size(), 2);
    QCOMPARE(f.desktop.mailRequests[0], f.desktop.mailRequests[1]);
    QVERIFY(f->mailedFlag());
    QVERIFY(!f->savedFlag());
    QVERIFY(f->netSum().isZero());
}

void HandoffTest::mailWithoutMailProgramTellsTheUserAndLeavesTheFlag()
{
    WindowFixture f;
    f->Memo1->setPlainText(QStringLiteral("one line\n"));
    f.desktop.mailHandlerWorks = false;

    WindowFixture::click(f->Button_email);

    QCOMPARE(f.desktop.mailRequests.size(), 1);
    QVERIFY(!f->mailedFlag());
    QCOMPARE(f.desktop.messages.size(), 1);
    QVERIFY(f.desktop.messages[0].contains(QStringLiteral("e-mail program")));
    QVERIFY(f.desktop.messages[0].contains(QStringLiteral("Clipboard")));
    QVERIFY(f.desktop.errors.isEmpty());

    // Once a mail program takes it, the order counts as mailed.
    f.desktop.mailHandlerWorks = true;
    WindowFixture::click(f->Button_email);
    QVERIFY(f->mailedFlag());
    QCOMPARE(f.desktop.messages.size(), 1);
}

void HandoffTest::handOffOperationsLeaveTheMailedFlag()
{
    // The closing flow calls the operations themselves; only the Email button marks the order
    // as mailed.
    WindowFixture f;
    f->Memo1->setPlainText(QStringLiteral("one line\n"));
    f->SendOrderByMail();
    f->CopyOrderToClipboard();
    f->OpenOrderInNotepad();
    QCOMPARE(f.desktop.mailRequests.size(), 1);
    QCOMPARE(f.desktop.editorStarts, QStringList{QStringLiteral("outwin.txt")});
    QVERIFY(!f->mailedFlag());

    f.desktop.mailHandlerWorks = false;
    f->SendOrderByMail();
    QCOMPARE(f.desktop.messages.size(), 1);
    QVERIFY(!f->mailedFlag());
}

void HandoffTest::handOffThroughTheOpener_data()
{
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<bool>("opened");
    QTest::newRow("mail, no handler") << true << QByteArray("exit 3") << false;
    QTest::newRow("mail, handled") << true << QByteArray("true") << true;
    // Some handlers keep the opener running as long as the mail program runs.
    QTest::newRow("mail, still running") << true << QByteArray("/bin/sleep 9") << true;
    QTest::newRow("editor, no handler") << false << QByteArray("exit 3") << false;
    QTest::newRow("editor, handled") << false << QByteArray("true") << true;
}

void HandoffTest::handOffThroughTheOpener()
{
    QFETCH(bool, mail);
    QFETCH(QByteArray, action);
    QFETCH(bool, opened);
    WindowFixture f;
    f->Memo1->setPlainText(QStringLiteral("one line\n"));
    f.desktop.openerAction = action;

    WindowFixture::click(mail ? f->Button_email : f->Button_notepad);

    QCOMPARE(f->mailedFlag(), mail && opened);
    QCOMPARE(QFile::exists(f.path("opener-ended")), opened && !action.contains("sleep"));
    // One argument, no shell in between: the request with its scheme in lower case, or the file.
    const QString outwin = QDir::toNativeSeparators(f.path(QStringLiteral("outwin.txt")));
    QCOMPARE(
        fileBytes(f.path("opener-arguments")),
        mail
            ? "mailto:orders@velmaro-software.example?subject=Purchase%20Order&body=one%20line%0A\n"
            : outwin.toUtf8() + '\n');
    QCOMPARE(f.desktop.messages.size(), opened ? 0 : 1);
    if (!opened)
        QVERIFY(f.desktop.messages[0].contains(mail ? QStringLiteral("e-mail program") : outwin));
}

void HandoffTest::clipboardHoldsTheWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("final line break") << "Purchase Order\n\n1 x Lumo : 383.00 EUR\n";
    QTest::newRow("no final line break") << "first\nsecond";
    QTest::newRow("letters outside ASCII") << "M\u00fcller & S\u00f6hne #1\n";
    QTest::newRow("no-break space") << "1\u00a0x Lumo\u00a0: 383.00\u00a0EUR\n";
}

void HandoffTest::clipboardHoldsTheWholeText()
{
    QFETCH(QString, text);
    WindowFixture f;
    QGuiApplication::clipboard()->setText(QStringLiteral("something older"));
    f->Memo1->setPlainText(text);
    // A cursor in the middle of the text must not shorten what is copied.
    QTextCursor cursor = f->Memo1->textCursor();
    cursor.setPosition(3);
    f->Memo1->setTextCursor(cursor);

    WindowFixture::click(f->Button_clipboard);

    // Qt hands the text on with "\n" line ends; the platform clipboard makes them CR LF where
    // that is its custom.
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->formats(),
             QStringList{QStringLiteral("text/plain")});
    const QTextCursor selection = f->Memo1->textCursor();
    QCOMPARE(selection.selectionStart(), 0);
    QCOMPARE(selection.selectionEnd(), static_cast<int>(text.size()));
    QCOMPARE(f->orderText().plainText(), text);
    QVERIFY(!f->mailedFlag());
    QVERIFY(f.desktop.errors.isEmpty());

    // Copying the whole text by keys gives the same.
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(f->Memo1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->formats(),
             QStringList{QStringLiteral("text/plain")});
}

void HandoffTest::notepadWritesOutwinByteForByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty text, empty file") << QString() << QByteArray("");
    QTest::newRow("final line break") << "Purchase Order\n\nP.O.:\n"
                                      << QByteArray("Purchase Order\r\n\r\nP.O.:\r\n");
    QTest::newRow("no final line break") << "first\nsecond" << QByteArray("first\r\nsecond");
    QTest::newRow("only a line break") << "\n" << QByteArray("\r\n");
    // The tests run in a UTF-8 locale, whose code page that is.
    QTest::newRow("letters outside ASCII") << "M\u00fcller\n" << QByteArray("M\xc3\xbcller\r\n");
    // Longer than the pieces the writer encodes and writes, with a character of two UTF-16
    // units across the end of the fourth piece (64 Ki units).
    QTest::newRow("long line, emoji across a piece boundary")
        << QString(65535, 'a') + "\U0001F600" + QString(70000, 'b') + '\n'
        << QByteArray(65535, 'a') + "\xf0\x9f\x98\x80" + QByteArray(70000, 'b') + "\r\n";
}

void HandoffTest::notepadWritesOutwinByteForByte()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    WindowFixture f;
    f->Memo1->setPlainText(text);

    WindowFixture::click(f->Button_notepad);

    QCOMPARE(fileBytes(QStringLiteral("outwin.txt")), bytes);
    QCOMPARE(f.desktop.editorStarts, QStringList{QStringLiteral("outwin.txt")});
    QVERIFY(f.desktop.errors.isEmpty());
    QCOMPARE(f->Memo1->toPlainText(), text);
}

void HandoffTest::notepadOverwritesOutwinEachTime()
{
    WindowFixture f([] {
        QFile old(QStringLiteral("outwin.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    });
    f->Memo1->setPlainText(QStringLiteral("long line of an order\nsecond\n"));
    WindowFixture::click(f->Button_notepad);
    QCOMPARE(fileBytes(QStringLiteral("outwin.txt")),
             QByteArray("long line of an order\r\nsecond\r\n"));

    f->Memo1->setPlainText(QStringLiteral("short"));
    WindowFixture::click(f->Button_notepad);
    QCOMPARE(fileBytes(QStringLiteral("outwin.txt")), QByteArray("short"));
    QCOMPARE(f.desktop.editorStarts.size(), 2);
}

void HandoffTest::everyLineBreakIsOneLineEverywhere()
{
    WindowFixture f;
    QPlainTextEdit* memo = f->Memo1;
    QTest::keyClicks(memo, QStringLiteral("typed"));
    QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(memo, QStringLiteral("after Shift+Enter"));
    QKeyEvent separator(QEvent::KeyPress, Qt::Key_unknown, {}, QString(QChar::LineSeparator));
    QCoreApplication::sendEvent(memo, &separator); // a key whose text is a line separator
    QTest::keyClicks(memo, QStringLiteral("keyed"));
    QTest::keyClick(memo, Qt::Key_Return);
    QGuiApplication::clipboard()->setText(QStringLiteral("CR LF\r\nLF\nCR\rLS\u2028PS\u2029"));
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    dropText(memo->viewport(), memo->cursorRect().center(),
             QStringLiteral("dropped\r\nlast\u2028"));

    const QStringList lines = {"typed", "after Shift+Enter", "keyed", "CR LF", "LF", "CR", "LS",
                               "PS",    "dropped",           "last"};
    QCOMPARE(f->orderText().count(), lines.size());
    QCOMPARE(f->orderText().all(), lines);
    WindowFixture::click(f->Button_notepad);
    QCOMPARE(fileBytes(QStringLiteral("outwin.txt")), lines.join("\r\n").toUtf8() + "\r\n");
    WindowFixture::click(f->Button_email);
    QCOMPARE(decodedBody(f.desktop), lines.join('\n') + '\n');
    WindowFixture::click(f->Button_clipboard);
    QCOMPARE(QGuiApplication::clipboard()->text(), lines.join('\n') + '\n');
    f->SaveOrderFile();
    QVERIFY(fileBytes(QStringLiteral("order.qzo"))
                .contains("\r\n10\r\n" + lines.join("\r\n").toUtf8() + "\r\n"));
}

QTEST_MAIN(HandoffTest)
#include "handoff_test.moc"
