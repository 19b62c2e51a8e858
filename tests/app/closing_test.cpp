// Leaving the order window: the save prompt, the choice of a hand-off, their failures, and the
// Help and Cancel buttons.
#include "form/U64INRA.h"
#include "platform/application.h"
#include "window_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

using Answer = Desktop::Answer;

const QString kTypedLine = QStringLiteral("2 x Lantern desk lamp, walnut & brass #7");
const QStringList kChoiceTexts = {QStringLiteral("generate order Email"),
                                  QStringLiteral("copy order text into clipboard"),
                                  QStringLiteral("open Notepad with order text")};

// Answers the choice dialog from inside its own event loop once it shows, noting first what it
// shows. Without a dialog it does nothing; a dialog its answer leaves open is closed after a
// while and counted as stuck, so a broken flow fails instead of hanging.
class ChoiceAnswer {
public:
    explicit ChoiceAnswer(std::function<void(Tin_radiodialog&)> answer) : answer_(std::move(answer))
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] { answerIfShown(); });
        QObject::connect(&watchdog_, &QTimer::timeout, [this] {
            if (dialog_ && dialog_->isVisible()) {
                stuck = true;
                dialog_->done(QDialog::Rejected);
            }
        });
        watchdog_.setSingleShot(true);
        poll_.start(5);
    }
    ChoiceAnswer(const ChoiceAnswer&) = delete;
    ChoiceAnswer& operator=(const ChoiceAnswer&) = delete;

    bool shown = false;
    bool stuck = false;
    QString caption;
    QStringList options;
    int selected = -2;
    QWidget* owner = nullptr;

private:
    void answerIfShown()
    {
        auto* dialog = qobject_cast<Tin_radiodialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll_.stop();
        dialog_ = dialog;
        shown = true;
        caption = dialog->windowTitle();
        options = dialog->RadioGroup1->items();
        selected = dialog->RadioGroup1->itemIndex();
        owner = dialog->parentWidget();
        answer_(*dialog);
        watchdog_.start(3000);
    }

    std::function<void(Tin_radiodialog&)> answer_;
    QTimer poll_;
    QTimer watchdog_;
    QPointer<Tin_radiodialog> dialog_;
};

void clickOption(Tin_radiodialog& dialog, int index)
{
    QRadioButton* option = dialog.RadioGroup1->button(index);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

void pressEscape(Tin_radiodialog& dialog)
{
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape);
}

enum class ChoiceAnswerKind {
    EnterOnDefault,
    ClipboardByCloseBox,
    NotepadByOkButton,
    Escape,
    CancelButton,
};

enum class HandOff { None, Mail, Clipboard, Editor };

std::function<void(Tin_radiodialog&)> answerFor(ChoiceAnswerKind kind)
{
    switch (kind) {
    case ChoiceAnswerKind::EnterOnDefault:
        return [](Tin_radiodialog& d) { QTest::keyClick(d.focusWidget(), Qt::Key_Return); };
    case ChoiceAnswerKind::ClipboardByCloseBox:
        return [](Tin_radiodialog& d) {
            clickOption(d, 1);
            d.windowHandle()->close();
        };
    case ChoiceAnswerKind::NotepadByOkButton:
        return [](Tin_radiodialog& d) {
            clickOption(d, 2);
            QTest::mouseClick(d.Button_ok, Qt::LeftButton);
        };
    case ChoiceAnswerKind::Escape:
        return pressEscape;
    case ChoiceAnswerKind::CancelButton:
        return [](Tin_radiodialog& d) {
            clickOption(d, 2);
            QTest::mouseClick(d.button_cancel, Qt::LeftButton);
        };
    }
    return {};
}

const char kChild[] = "--leave-order-on-clipboard";
const QString kClipboardOrder = QStringLiteral("Purchase Order\n\n1\u00a0x Lumo : 383.00 EUR\n");

// The closing flow's clipboard choice in a process of its own, ending as the program does.
int leaveOrderOnClipboard(int argc, char* argv[])
{
    QApplication app(argc, argv);
    WindowFixture f;
    f->Memo1->setPlainText(kClipboardOrder);
    f.desktop.answers = {Answer::No};
    ChoiceAnswer choice(answerFor(ChoiceAnswerKind::ClipboardByCloseBox));
    WindowFixture::click(f->Button_ok);
    std::puts(f->isVisible() ? "window open" : "window closed");
    std::fflush(stdout);
    if (f.desktop.clipboardKeeps == 1)
        ServeClipboardUntilTakenOver(std::chrono::minutes(1));
    return 0;
}

} // namespace

Q_DECLARE_METATYPE(Desktop::Answer)
Q_DECLARE_METATYPE(ChoiceAnswerKind)
Q_DECLARE_METATYPE(HandOff)

class ClosingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void savePrompt_data();
    void savePrompt();
    void noPromptOnceSaved();
    void handOffs_data();
    void handOffs();
    void mailedOrderSkipsTheChoice();
    void failingSaveKeepsTheWindowOpen();
    void failingEditorHandOffKeepsTheWindowOpen();
    void mailWithoutMailProgramKeepsTheWindowOpen();
    void helpChangesNothing();
    void cancelClosesWithoutPrompt();
    void orderOutlivesTheWindowOnTheClipboard();
};

void ClosingTest::initTestCase()
{
    // The order window closes in most tests here; that must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

void ClosingTest::savePrompt_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("closes");

    QTest::newRow("Yes saves and goes on") << Answer::Yes << true << true;
    QTest::newRow("No goes on without saving") << Answer::No << false << true;
    // Cancel, Escape and the box's close button: the order stays on screen as it was.
    QTest::newRow("Cancel stops") << Answer::Cancel << false << false;
}

void ClosingTest::savePrompt()
{
    QFETCH(Answer, answer);
    QFETCH(bool, saved);
    QFETCH(bool, closes);

    WindowFixture f;
    QTest::keyClicks(f->Memo1, kTypedLine);
    f.desktop.answers = {answer};
    ChoiceAnswer choice(pressEscape);
    WindowFixture::click(f->Button_ok);

    QCOMPARE(f.desktop.confirmations, QStringList{QStringLiteral("Save order.qzo ?")});
    QCOMPARE(QFile::exists(f.path("order.qzo")), saved);
    QCOMPARE(f->savedFlag(), saved);
    if (saved)
        QVERIFY(fileBytes(f.path("order.qzo")).contains(kTypedLine.toUtf8()));
    QCOMPARE(choice.shown, closes);
    QVERIFY(!choice.stuck);
    QCOMPARE(f->isVisible(), !closes);
    QVERIFY(f.desktop.errors.isEmpty());

    if (!closes) {
        QCOMPARE(f->Memo1->toPlainText(), kTypedLine);
        // Still unsaved: the next OK asks again.
        f.desktop.answers = {Answer::Cancel};
        WindowFixture::click(f->Button_ok);
        QCOMPARE(f.desktop.confirmations.size(), 2);
        QVERIFY(f->isVisible());
    }
}

void ClosingTest::noPromptOnceSaved()
{
    WindowFixture f;
    WindowFixture::click(f->Button_save);
    QVERIFY(f->savedFlag());

    ChoiceAnswer choice(pressEscape);
    WindowFixture::click(f->Button_ok);

    QVERIFY(f.desktop.confirmations.isEmpty());
    QVERIFY(choice.shown);
    QVERIFY(!f->isVisible());
}

void ClosingTest::handOffs_data()
{
    QTest::addColumn<ChoiceAnswerKind>("answer");
    QTest::addColumn<HandOff>("handOff");

    QTest::newRow("Enter on the preselected option mails")
        << ChoiceAnswerKind::EnterOnDefault << HandOff::Mail;
    QTest::newRow("close box carries out the selection")
        << ChoiceAnswerKind::ClipboardByCloseBox << HandOff::Clipboard;
    QTest::newRow("OK on the third option opens the editor")
        << ChoiceAnswerKind::NotepadByOkButton << HandOff::Editor;
    QTest::newRow("Escape hands off nothing") << ChoiceAnswerKind::Escape << HandOff::None;
    QTest::newRow("Cancel hands off nothing") << ChoiceAnswerKind::CancelButton << HandOff::None;
}

void ClosingTest::handOffs()
{
    QFETCH(ChoiceAnswerKind, answer);
    QFETCH(HandOff, handOff);

    WindowFixture f;
    QTest::keyClicks(f->Memo1, kTypedLine);
    QApplication::clipboard()->setText(QStringLiteral("left over"));
    f.desktop.answers = {Answer::No};
    ChoiceAnswer choice(answerFor(answer));
    WindowFixture::click(f->Button_ok);

    QVERIFY(choice.shown);
    QVERIFY(!choice.stuck);
    QCOMPARE(choice.caption, QStringLiteral("Generate order"));
    QCOMPARE(choice.options, kChoiceTexts);
    QCOMPARE(choice.selected, 0);
    QCOMPARE(choice.owner, &f.window());

    QCOMPARE(f.desktop.mailRequests.size(), handOff == HandOff::Mail ? 1 : 0);
    if (handOff == HandOff::Mail)
        QVERIFY(f.desktop.mailRequests.first().contains("Lantern"));
    QCOMPARE(QApplication::clipboard()->text(),
             handOff == HandOff::Clipboard ? kTypedLine : QStringLiteral("left over"));
    QCOMPARE(f.desktop.editorStarts, handOff == HandOff::Editor
                                         ? QStringList{QStringLiteral("outwin.txt")}
                                         : QStringList{});
    QCOMPARE(QFile::exists(f.path("outwin.txt")), handOff == HandOff::Editor);
    if (handOff == HandOff::Editor)
        QCOMPARE(fileBytes(f.path("outwin.txt")), kTypedLine.toUtf8());

    // Only the clipboard's text has to outlive the window.
    QCOMPARE(f.desktop.clipboardKeeps, handOff == HandOff::Clipboard ? 1 : 0);
    // The closing flow's own mail hand-off does not count as the Email button.
    QVERIFY(!f->mailedFlag());
    QVERIFY(f.desktop.errors.isEmpty());
    QVERIFY(f->findChildren<Tin_radiodialog*>().isEmpty());
    QVERIFY(!f->isVisible());
}

void ClosingTest::mailedOrderSkipsTheChoice()
{
    WindowFixture f;
    QTest::keyClicks(f->Memo1, kTypedLine);
    WindowFixture::click(f->Button_email);
    QVERIFY(f->mailedFlag());

    f.desktop.answers = {Answer::No};
    ChoiceAnswer choice(pressEscape);
    WindowFixture::click(f->Button_ok);

    QCOMPARE(f.desktop.confirmations.size(), 1);
    QVERIFY(!choice.shown);
    QCOMPARE(f.desktop.mailRequests.size(), 1);
    QVERIFY(!f->isVisible());
}

void ClosingTest::failingSaveKeepsTheWindowOpen()
{
    WindowFixture f;
    QTest::keyClicks(f->Memo1, kTypedLine);
    {
        QFile old(f.path("order.qzo"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("kept as it was\r\n");
    }
    QVERIFY(QFile::setPermissions(f.path("order.qzo"), QFileDevice::ReadOwner |
                                                           QFileDevice::ReadGroup |
                                                           QFileDevice::ReadOther));

    f.desktop.answers = {Answer::Yes};
    {
        ChoiceAnswer choice(pressEscape);
        WindowFixture::click(f->Button_ok);
        QVERIFY(!choice.shown);
    }
    QCOMPARE(f.desktop.errors.size(), 1);
    QVERIFY(f->isVisible());
    QVERIFY(!f->savedFlag());
    QCOMPARE(fileBytes(f.path("order.qzo")), QByteArray("kept as it was\r\n"));
    QCOMPARE(f->Memo1->toPlainText(), kTypedLine);

    // Not saved, so the next OK asks again; without saving, the flow goes all the way.
    f.desktop.answers = {Answer::No};
    ChoiceAnswer secondChoice(pressEscape);
    WindowFixture::click(f->Button_ok);

    QCOMPARE(f.desktop.confirmations.size(), 2);
    QVERIFY(secondChoice.shown);
    QVERIFY(!f->isVisible());
}

void ClosingTest::failingEditorHandOffKeepsTheWindowOpen()
{
    WindowFixture f;
    QTest::keyClicks(f->Memo1, kTypedLine);
    // A folder of that name: no file can be made there, whoever runs the test.
    QVERIFY(QDir(f.path(".")).mkdir(QStringLiteral("outwin.txt")));

    f.desktop.answers = {Answer::No};
    ChoiceAnswer choice(answerFor(ChoiceAnswerKind::NotepadByOkButton));
    WindowFixture::click(f->Button_ok);

    QVERIFY(choice.shown);
    QCOMPARE(f.desktop.errors, QStringList{QStringLiteral("Cannot create file outwin.txt.")});
    QVERIFY(f.desktop.editorStarts.isEmpty());
    QVERIFY(f->findChildren<Tin_radiodialog*>().isEmpty());
    QVERIFY(f->isVisible());
    QCOMPARE(f->Memo1->toPlainText(), kTypedLine);
}

void ClosingTest::mailWithoutMailProgramKeepsTheWindowOpen()
{
    WindowFixture f;
    QTest::keyClicks(f->Memo1, kTypedLine);
    // The desktop's opener runs, but finds no program for mail.
    f.desktop.openerAction = "exit 3";
    WindowFixture::click(f->Button_email);
    QCOMPARE(f.desktop.messages.size(), 1);
    QVERIFY(!f->mailedFlag());

    f.desktop.answers = {Answer::No};
    ChoiceAnswer choice(answerFor(ChoiceAnswerKind::EnterOnDefault));
    WindowFixture::click(f->Button_ok);

    // The order did not leave: the window stays with it, and the box said how to send it.
    QVERIFY(choice.shown);
    QCOMPARE(f.desktop.mailRequests.size(), 2);
    QCOMPARE(f.desktop.messages.size(), 2);
    QVERIFY(f->isVisible());
    QVERIFY(!f->mailedFlag());
    QCOMPARE(f->Memo1->toPlainText(), kTypedLine);
}

void ClosingTest::helpChangesNothing()
{
    WindowFixture f;
    QTest::keyClicks(f->Memo1, kTypedLine);
    WindowFixture::choose(f->ComboBox_versand, 1);
    const auto snapshot = [&f] {
        QStringList state{f->Memo1->toPlainText(), f->Edit_sumnet->text(),
                          f->Edit_einzelpreis->text(), f->Edit_versandkosten->text()};
        for (const QComboBox* list : f->findChildren<QComboBox*>())
            state << list->objectName() + QLatin1Char('=') + QString::number(list->currentIndex());
        return state;
    };
    const QStringList before = snapshot();

    WindowFixture::click(f->Button_help);

    QCOMPARE(f.desktop.messages,
             QStringList{QStringLiteral(
                 "1. select program(s), license, language, then click --> button\n"
                 "2. input delivery, payment and address data, then click ---> button\n"
                 "3. click --> Email button to generate email\n"
                 "4. Send Email")});
    QCOMPARE(snapshot(), before);
    QVERIFY(f.desktop.confirmations.isEmpty());
    QVERIFY(f->isVisible());
}

void ClosingTest::cancelClosesWithoutPrompt()
{
    WindowFixture f;
    QTest::keyClicks(f->Memo1, kTypedLine);
    WindowFixture::click(f->Button_clipboard);
    ChoiceAnswer choice(pressEscape);
    WindowFixture::click(f->Button_cancel);

    // Ends at once, also with the order on the clipboard.
    QCOMPARE(f.desktop.clipboardKeeps, 0);
    QVERIFY(f.desktop.confirmations.isEmpty());
    QVERIFY(!choice.shown);
    QVERIFY(!QFile::exists(f.path("order.qzo")));
    QVERIFY(!f->isVisible());
}

void ClosingTest::orderOutlivesTheWindowOnTheClipboard()
{
    // Only a real X server shows whether the text outlives the process that put it there.
    const QString xclip = QStandardPaths::findExecutable("xclip");
    if (xclip.isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty())
        QSKIP("needs Xvfb and xclip, which scripts/install-deps.sh installs");
    const VirtualXServer server;
    const QProcessEnvironment env = server.environment();
    QProcess program;
    const auto clip = [&](const QStringList& arguments, const QByteArray& input = {}) {
        QProcess client;
        client.setProcessEnvironment(env);
        // xclip -i stays to serve what it copied; it must not hold our pipe open.
        client.setStandardOutputFile(input.isEmpty() ? QString() : QProcess::nullDevice());
        client.start(xclip, QStringList{"-selection", "clipboard"} + arguments);
        client.write(input);
        client.closeWriteChannel();
        client.waitForFinished(10000);
        return input.isEmpty() ? client.readAllStandardOutput() : QByteArray();
    };

    program.setProcessEnvironment(env);
    program.start(QCoreApplication::applicationFilePath(), {kChild});
    QVERIFY(program.waitForReadyRead(30000));
    QCOMPARE(program.readLine(), "window closed\n");
    QCOMPARE(QString::fromUtf8(clip({"-o", "-target", "UTF8_STRING"})), kClipboardOrder);
    QVERIFY(!clip({"-o", "-target", "TARGETS"}).contains("html"));
    QCOMPARE(program.state(), QProcess::Running);
    clip({"-i"}, "something else");
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 0);
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], kChild) == 0)
        return leaveOrderOnClipboard(argc, argv);
    QApplication app(argc, argv);
    ClosingTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "closing_test.moc"
