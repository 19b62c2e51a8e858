// The program as a process: the recovery copy across kills and signals, and the folder lock.
// The test binary doubles as the program: started with --child, it runs the same start-up as
// main() and drives its own window from there.
#include "core/order_file.h"
#include "core/recovery_copy.h"
#include "form/order_program.h"
#include "platform/application.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>

#if defined(Q_OS_UNIX)
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

const QString kRecovery = QStringLiteral("order.qzo.recovery");
const QString kLock = QStringLiteral("order.qzo.lock");

void appendTo(const QString& name, const QString& line)
{
    QFile file(name);
    if (file.open(QIODevice::Append))
        file.write(line.toUtf8() + '\n');
}

// The child's desktop: every box and hand-off goes to boxes.log for the test to read.
class LoggingDesktop : public RecordingDesktop {
public:
    void showMessage(QWidget* parent, const QString& text) override
    {
        appendTo(QStringLiteral("boxes.log"), text);
        RecordingDesktop::showMessage(parent, text);
    }
    Answer confirm(QWidget* parent, const QString& text) override
    {
        appendTo(QStringLiteral("boxes.log"), text);
        return RecordingDesktop::confirm(parent, text);
    }
    void showError(QWidget* parent, const QString& text) override
    {
        appendTo(QStringLiteral("boxes.log"), text);
        RecordingDesktop::showError(parent, text);
    }
    bool openMailRequest(const QByteArray& request) override
    {
        appendTo(QStringLiteral("boxes.log"), QStringLiteral("mail"));
        return RecordingDesktop::openMailRequest(request);
    }
};

// What the customer sees of the order: the text, every cell (an open cell editor's text in
// place of its cell), every field and list.
QString visibleOrder(TForm_order& w)
{
    QStringList out{w.Memo1->toPlainText()};
    for (StringGrid* grid : {w.StringGrid_lizenzen, w.StringGrid_adresse}) {
        out << QString::number(grid->rowCount());
        const auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
        const QAbstractItemModel* cells = grid->model();
        for (int row = 0; row < cells->rowCount(); ++row)
            for (int col = 0; col < cells->columnCount(); ++col) {
                const QModelIndex index = cells->index(row, col);
                out << (editor && index == grid->currentIndex() ? editor->text()
                                                                : index.data().toString());
            }
    }
    QList<QWidget*> fields = w.findChildren<QWidget*>();
    std::sort(fields.begin(), fields.end(),
              [](QWidget* a, QWidget* b) { return a->objectName() < b->objectName(); });
    for (QWidget* field : fields) {
        if (auto* edit = qobject_cast<QLineEdit*>(field);
            edit && !edit->parent()->inherits("QTableView") &&
            !edit->parent()->parent()->inherits("QTableView"))
            out << field->objectName() + QLatin1Char('=') + edit->text();
        else if (auto* list = qobject_cast<QComboBox*>(field))
            out << field->objectName() + QLatin1Char('=') + list->currentText();
    }
    out << QString::number(w.CheckBox_lizenzen->isChecked());
    return out.join(QLatin1Char('\n'));
}

// A customer's work of a few minutes, the last cell still being typed into.
void compose(TForm_order& w)
{
    WindowFixture::click(w.CheckBox_lizenzen);
    for (int i = 0; i < 3; ++i)
        w.SpinButton_lizenzenDownClick();
    w.StringGrid_lizenzen->setCell(1, 12, QStringLiteral("Atlas"));
    WindowFixture::choose(w.ComboBox_paket, 1);
    WindowFixture::choose(w.ComboBox_programm, 1);
    WindowFixture::click(w.Button_add);
    WindowFixture::choose(w.ComboBox_location, 0);
    WindowFixture::choose(w.ComboBox_zahlung, 1);
    w.StringGrid_adresse->setCell(1, 0, QStringLiteral("Beispiel GmbH"));
    WindowFixture::click(w.Button_zahlung);
    w.Edit_visa1->setText(QStringLiteral("4111"));
    QTest::keyClicks(w.Memo1, QStringLiteral("Please hurry"));
    const QModelIndex name = w.StringGrid_adresse->model()->index(1, 0);
    w.StringGrid_adresse->setCurrentIndex(name);
    QTest::keyClick(w.StringGrid_adresse, Qt::Key_F2);
    QTest::keyClicks(w.StringGrid_adresse->indexWidget(name), QStringLiteral("Erika Muster"));
}

int runChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InitialiseApplication();
    LoggingDesktop desktop;
    const QString mode = QString::fromLatin1(argv[2]);
    // The first question is answered as the mode says: the save prompt in the dialog mode, the
    // offer of the copy in the report modes.
    if (mode == QLatin1String("dialog") || mode == QLatin1String("report-no"))
        desktop.answers << Desktop::Answer::No;
    else if (mode == QLatin1String("report-escape"))
        desktop.answers << Desktop::Answer::Cancel;
    return RunOrderProgram(desktop, [&](TForm_order& w) {
        QTimer::singleShot(100, &w, [&] {
            if (mode.startsWith(QLatin1String("report"))) {
                writeFile(QStringLiteral("after.txt"), visibleOrder(w).toUtf8());
                w.Button_cancel->click();
                return;
            }
            if (mode != QLatin1String("idle")) {
                compose(w);
                writeFile(QStringLiteral("before.txt"), visibleOrder(w).toUtf8());
            }
            writeFile(QStringLiteral("started"), {});
            // The save prompt answered "No", then the real choice dialog stays open.
            if (mode == QLatin1String("dialog"))
                w.Button_ok->click();
        });
    });
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    // Starts the program in the test's folder; `mode` says what it does once its window is up.
    void start(QProcess& child, const char* mode)
    {
        QFile::remove(path(QStringLiteral("started")));
        child.setWorkingDirectory(dir_.path());
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QString::fromLatin1(mode)});
        QVERIFY(child.waitForStarted(10000));
    }
    void waitUntilStarted()
    {
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(path(QStringLiteral("started"))), 20000);
    }
    // The order.qzo of last week, which nothing here may touch.
    QByteArray lastWeeksOrder()
    {
        velmaro::SavedOrder order;
        order.orderLines = {"last week's order"};
        const QByteArray bytes = QByteArray::fromStdString(velmaro::FormatOrderFile(order));
        writeFile(path(QStringLiteral("order.qzo")), bytes);
        return bytes;
    }

private slots:
    void init() { QVERIFY(QDir(dir_.path()).removeRecursively() && QDir().mkpath(dir_.path())); }

    void endsNotChosen_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QByteArray>("mode");
        // 0 is the hard kill, which every system has.
        QTest::newRow("kill -9") << 0 << QByteArray("compose");
#if defined(Q_OS_UNIX)
        QTest::newRow("SIGTERM") << int(SIGTERM) << QByteArray("compose");
        QTest::newRow("SIGHUP in the choice dialog") << int(SIGHUP) << QByteArray("dialog");
        QTest::newRow("SIGTERM, nothing changed") << int(SIGTERM) << QByteArray("idle");
#endif
    }

    // Whatever stopped the program, the next start offers the order as it was two seconds
    // before; a signal ends it at once with status 0, even from inside a modal dialog, and
    // nothing after that dialog runs.
    void endsNotChosen()
    {
        QFETCH(int, signal);
        QFETCH(QByteArray, mode);
        const QByteArray saved = lastWeeksOrder();
        {
            QProcess child;
            start(child, mode.constData());
            waitUntilStarted();
            QTest::qWait(2100);
            if (signal == 0) {
                child.kill();
                QVERIFY(child.waitForFinished(10000));
            } else {
#if defined(Q_OS_UNIX)
                ::kill(static_cast<pid_t>(child.processId()), signal);
#endif
                QVERIFY(child.waitForFinished(1000));
                QCOMPARE(child.exitStatus(), QProcess::NormalExit);
                QCOMPARE(child.exitCode(), 0);
            }
        }
        QCOMPARE(fileBytes(path(QStringLiteral("order.qzo"))), saved);
        if (mode == "idle") {
            QVERIFY(!QFileInfo::exists(path(kRecovery)));
            return;
        }
        // Owner only: it holds the card fields.
        QCOMPARE(QFileInfo(path(kRecovery)).permissions() & 0x0fff,
                 QFileDevice::ReadUser | QFileDevice::WriteUser);
        QFile::rename(path(QStringLiteral("boxes.log")), path(QStringLiteral("before.log")));
        QVERIFY(!fileBytes(path(QStringLiteral("before.log"))).contains("mail"));

        QProcess next;
        start(next, "report");
        QVERIFY(next.waitForFinished(20000));
        QCOMPARE(next.exitCode(), 0);
        const QByteArray after = fileBytes(path(QStringLiteral("after.txt")));
        QCOMPARE(after, fileBytes(path(QStringLiteral("before.txt"))));
        QVERIFY(after.contains("Erika Muster") && after.contains("ComboBox_zahlung=PayPal"));
        QVERIFY(fileBytes(path(QStringLiteral("boxes.log")))
                    .startsWith("The order you were working on at "));
        QCOMPARE(fileBytes(path(QStringLiteral("order.qzo"))), saved);
        // Ended by "Cancel": nothing is left for the next start.
        QVERIFY(!QFileInfo::exists(path(kRecovery)));
        QVERIFY(!QFileInfo::exists(path(kLock)));
    }

    void offer_data()
    {
        QTest::addColumn<QByteArray>("copy");
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<bool>("kept");
        velmaro::RecoveryCopy unsaved;
        unsaved.order.orderLines = {"unsaved order"};
        const QByteArray copy = QByteArray::fromStdString(velmaro::FormatRecoveryCopy(unsaved));
        QTest::newRow("No") << copy << QByteArray("report-no")
                            << QByteArray("The order you were working on at ") << false;
        QTest::newRow("Escape") << copy << QByteArray("report-escape")
                                << QByteArray("The order you were working on at ") << true;
        QTest::newRow("damaged") << copy.left(copy.size() - 3) << QByteArray("report")
                                 << QByteArray("The order kept from the last run could not be "
                                               "read. It was kept as ")
                                 << false;
    }

    // Whatever the answer, order.qzo loads as usual unless the copy was taken; only "No" deletes
    // the copy, and a damaged one is said once and put aside.
    void offer()
    {
        QFETCH(QByteArray, copy);
        QFETCH(QByteArray, mode);
        QFETCH(QByteArray, box);
        QFETCH(bool, kept);
        lastWeeksOrder();
        writeFile(path(kRecovery), copy);
        QProcess child;
        start(child, mode.constData());
        QVERIFY(child.waitForFinished(20000));
        QVERIFY(fileBytes(path(QStringLiteral("boxes.log"))).startsWith(box));
        QVERIFY(fileBytes(path(QStringLiteral("after.txt"))).contains("last week's order"));
        QCOMPARE(fileBytes(path(kRecovery)) == copy, kept);
        const QStringList aside =
            QDir(dir_.path()).entryList({QStringLiteral("order.qzo.recovery.damaged-*")});
        QCOMPARE(aside.size(), mode == "report" ? 1 : 0);
    }

    void lock_data()
    {
        QTest::addColumn<bool>("firstRuns");
        QTest::newRow("first window still open") << true;
        QTest::newRow("first window killed") << false;
    }

    // One window per folder: a second start while the first runs says so and touches nothing;
    // the lock of a process that is gone is taken over without a word.
    void lock()
    {
        QFETCH(bool, firstRuns);
        const QByteArray saved = lastWeeksOrder();
        QProcess first;
        start(first, "idle");
        waitUntilStarted();
        if (!firstRuns) {
            first.kill();
            QVERIFY(first.waitForFinished(10000));
        }
        QVERIFY(QFileInfo::exists(path(kLock)));

        QProcess second;
        start(second, "report");
        QVERIFY(second.waitForFinished(20000));
        const QByteArray boxes = fileBytes(path(QStringLiteral("boxes.log")));
        if (firstRuns) {
            QCOMPARE(second.exitCode(), 1);
            QCOMPARE(boxes, "The order in this folder is already open in another VELMARO Order "
                            "window.\n");
            QVERIFY(!QFileInfo::exists(path(QStringLiteral("after.txt"))));
            QCOMPARE(first.state(), QProcess::Running);
            first.terminate();
            QVERIFY(first.waitForFinished(10000));
        } else {
            QCOMPARE(second.exitCode(), 0);
            QCOMPARE(boxes, "<missing>");
            QVERIFY(fileBytes(path(QStringLiteral("after.txt"))).contains("last week's order"));
        }
        QCOMPARE(fileBytes(path(QStringLiteral("order.qzo"))), saved);
        QVERIFY(!QFileInfo::exists(path(kLock)));
    }
};

int main(int argc, char* argv[])
{
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);
    QApplication app(argc, argv);
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "recovery_test.moc"
