// The choice dialog on its own: what SetupChoice prepares, every way a user can answer it,
// and its keys, focus and frame.
#include "platform/application.h"
#include "form/U64INRA.h"

#include <QAccessible>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

namespace {

const QStringList kOptions = {QStringLiteral("Ship by parcel"), QStringLiteral("Collect in person"),
                              QStringLiteral("Hold for later")};

// Made as its caller makes it: options handed over after creation, then prepared.
std::unique_ptr<Tin_radiodialog> makeDialog(int count, quint16 def, QWidget* owner = nullptr)
{
    auto dialog = std::make_unique<Tin_radiodialog>(owner);
    dialog->Choices = std::make_unique<QStringList>(kOptions);
    dialog->SetupChoice(QStringLiteral("Pick one"), count, def);
    return dialog;
}

struct Outcome {
    qint16 choice = 0;
    bool cancelled = false;
    bool closedByAnswer = false; // shown, answered, and closed by that answer
};

// Shows the dialog modally and, once it is the active modal window, answers it from inside its
// own event loop. A dialog still open after the answer is closed by force, and the test fails.
Outcome runModal(Tin_radiodialog& dialog, const std::function<void(Tin_radiodialog&)>& answer)
{
    bool answered = false;
    bool stuck = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (dialog.isVisible()) {
            stuck = true;
            dialog.done(QDialog::Rejected);
        }
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != &dialog || !dialog.isVisible())
            return;
        poll.stop();
        answered = true;
        answer(dialog);
        watchdog.start(3000);
    });
    poll.start(5);
    dialog.exec();
    Outcome outcome;
    dialog.GetChoice(outcome.choice, outcome.cancelled);
    outcome.closedByAnswer = answered && !stuck;
    return outcome;
}

enum class Answer {
    OkButton,
    CancelButton,
    EnterOnOption,
    KeypadEnterOnOption,
    EscapeOnOption,
    EscapeOnOkButton,
    EnterOnCancelButton,
    CloseBox,
};

} // namespace

Q_DECLARE_METATYPE(Answer)

class ChoiceDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void setupChoice_data();
    void setupChoice();
    void answers_data();
    void answers();
    void focusStartsOnTheSelectionAndArrowsMoveIt();
    void otherKeysDoNothing();
    void fixedFramePositionAndTabOrder();
};

void ChoiceDialogTest::initTestCase()
{
    InitialiseApplication();
    // Closing a lone dialog must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

void ChoiceDialogTest::setupChoice_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("def");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("height");

    QTest::newRow("three options, first preselected") << 3 << 1 << 0 << 100;
    QTest::newRow("third preselected") << 3 << 3 << 2 << 100;
    QTest::newRow("default 0 preselects nothing") << 3 << 0 << -1 << 100;
    QTest::newRow("default past the end preselects the last") << 3 << 9 << 2 << 100;
    QTest::newRow("count sizes the group, not the options") << 5 << 2 << 1 << 150;
    QTest::newRow("count 0") << 0 << 1 << 0 << 25;
}

void ChoiceDialogTest::setupChoice()
{
    QFETCH(int, count);
    QFETCH(int, def);
    QFETCH(int, selected);
    QFETCH(int, height);

    auto dialog = makeDialog(count, quint16(def));

    QCOMPARE(dialog->windowTitle(), QStringLiteral("Pick one"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&*dialog)->text(QAccessible::Name),
             QStringLiteral("Pick one"));
    QCOMPARE(dialog->RadioGroup1->items(), kOptions);
    QCOMPARE(dialog->findChildren<QRadioButton*>().size(), kOptions.size());
    QCOMPARE(dialog->RadioGroup1->itemIndex(), selected);
    for (int i = 0; i < kOptions.size(); ++i)
        QCOMPARE(dialog->RadioGroup1->button(i)->isChecked(), i == selected);
    QCOMPARE(dialog->RadioGroup1->geometry(), QRect(16, 24, 369, height));
    QVERIFY(dialog->RadioGroup1->title().isEmpty());
    // Nothing else moves or grows.
    QCOMPARE(dialog->size(), QSize(404, 254));
    QCOMPARE(dialog->Button_ok->geometry(), QRect(104, 220, 75, 25));
    QCOMPARE(dialog->button_cancel->geometry(), QRect(192, 220, 75, 25));

    qint16 choice = -1;
    bool cancelled = true;
    dialog->GetChoice(choice, cancelled);
    QCOMPARE(choice, qint16(selected + 1));
    QCOMPARE(cancelled, false);
}

void ChoiceDialogTest::answers_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("cancelled");

    QTest::newRow("OK button") << Answer::OkButton << false;
    QTest::newRow("Cancel button") << Answer::CancelButton << true;
    QTest::newRow("Enter on an option") << Answer::EnterOnOption << false;
    QTest::newRow("keypad Enter on an option") << Answer::KeypadEnterOnOption << false;
    QTest::newRow("Escape on an option") << Answer::EscapeOnOption << true;
    QTest::newRow("Escape on the OK button") << Answer::EscapeOnOkButton << true;
    QTest::newRow("Enter on the focused Cancel button") << Answer::EnterOnCancelButton << true;
    // The close box is no cancel: the selection counts.
    QTest::newRow("close box") << Answer::CloseBox << false;
}

void ChoiceDialogTest::answers()
{
    QFETCH(Answer, answer);
    QFETCH(bool, cancelled);

    auto dialog = makeDialog(3, 1);
    const Outcome outcome = runModal(*dialog, [answer](Tin_radiodialog& d) {
        // The user moves off the default first, so the choice must follow the selection.
        QRadioButton* option = d.RadioGroup1->button(1);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
        switch (answer) {
        case Answer::OkButton:
            QTest::mouseClick(d.Button_ok, Qt::LeftButton);
            break;
        case Answer::CancelButton:
            QTest::mouseClick(d.button_cancel, Qt::LeftButton);
            break;
        case Answer::EnterOnOption:
            QTest::keyClick(option, Qt::Key_Return);
            break;
        case Answer::KeypadEnterOnOption:
            QTest::keyClick(option, Qt::Key_Enter, Qt::KeypadModifier);
            break;
        case Answer::EscapeOnOption:
            QTest::keyClick(option, Qt::Key_Escape);
            break;
        case Answer::EscapeOnOkButton:
            d.Button_ok->setFocus();
            QTest::keyClick(d.Button_ok, Qt::Key_Escape);
            break;
        case Answer::EnterOnCancelButton:
            d.button_cancel->setFocus();
            QTest::keyClick(d.button_cancel, Qt::Key_Return);
            break;
        case Answer::CloseBox:
            d.windowHandle()->close();
            break;
        }
    });

    QVERIFY(outcome.closedByAnswer);
    QCOMPARE(outcome.choice, qint16(2));
    QCOMPARE(outcome.cancelled, cancelled);
}

void ChoiceDialogTest::focusStartsOnTheSelectionAndArrowsMoveIt()
{
    auto dialog = makeDialog(3, 1);
    QWidget* focusAtStart = nullptr;
    QList<int> afterKeys;
    const Outcome outcome = runModal(*dialog, [&](Tin_radiodialog& d) {
        focusAtStart = d.focusWidget();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
            QTest::keyClick(d.focusWidget(), key);
            afterKeys << d.RadioGroup1->itemIndex();
        }
        QTest::keyClick(d.focusWidget(), Qt::Key_Return);
    });

    QVERIFY(outcome.closedByAnswer);
    QCOMPARE(focusAtStart, dialog->RadioGroup1->button(0));
    QCOMPARE(afterKeys, (QList<int>{1, 2, 1}));
    QCOMPARE(outcome.choice, qint16(2));
    QCOMPARE(outcome.cancelled, false);
}

void ChoiceDialogTest::otherKeysDoNothing()
{
    auto dialog = makeDialog(3, 3);
    bool stillOpen = false;
    int selection = -1;
    const Outcome outcome = runModal(*dialog, [&](Tin_radiodialog& d) {
        for (Qt::Key key : {Qt::Key_A, Qt::Key_F1, Qt::Key_Space, Qt::Key_Backspace})
            QTest::keyClick(d.RadioGroup1->button(2), key);
        stillOpen = d.isVisible();
        selection = d.RadioGroup1->itemIndex();
        QTest::mouseClick(d.Button_ok, Qt::LeftButton);
    });

    QVERIFY(outcome.closedByAnswer);
    QVERIFY(stillOpen);
    QCOMPARE(selection, 2);
    QCOMPARE(outcome.choice, qint16(3));
    QCOMPARE(outcome.cancelled, false);
}

void ChoiceDialogTest::fixedFramePositionAndTabOrder()
{
    // An owner far from the dialog's place: the dialog still shows at its own position.
    QWidget owner;
    owner.setGeometry(600, 400, 800, 600);
    owner.show();
    auto dialog = makeDialog(3, 1, &owner);

    QCOMPARE(dialog->button_cancel->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog->Button_ok->text(), QStringLiteral("OK"));
    QVERIFY(dialog->Button_ok->isDefault());
    QCOMPARE(dialog->minimumSize(), QSize(404, 254));
    QCOMPARE(dialog->maximumSize(), QSize(404, 254));
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);

    QPoint shownAt;
    QList<QWidget*> tabbedTo;
    const Outcome outcome = runModal(*dialog, [&](Tin_radiodialog& d) {
        shownAt = d.pos();
        for (int i = 0; i < 5; ++i) {
            tabbedTo << d.focusWidget();
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
        }
        d.Button_ok->click();
    });
    QVERIFY(outcome.closedByAnswer);
    QCOMPARE(shownAt, QPoint(200, 108));
    // The selected option stands for the group, then Cancel, then OK, then round again.
    QRadioButton* selected = dialog->RadioGroup1->button(0);
    QCOMPARE(tabbedTo, (QList<QWidget*>{selected, dialog->button_cancel, dialog->Button_ok,
                                        selected, dialog->button_cancel}));
}

QTEST_MAIN(ChoiceDialogTest)
#include "choice_dialog_test.moc"
