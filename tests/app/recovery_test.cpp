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
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

constexpr char kRecovery[] = "order.qzo.recovery";
constexpr char kLock[] = "order.qzo.lock";

// The whole form as the copy takes it (an open cell editor's text included), and the amounts and
// payment texts that only the refresh after restoring gets right.
QString visibleOrder(TForm_order& w)
{
    return QString::fromStdString(velmaro::FormatRecoveryCopy(w.recoveryCopy())) +
           QStringList{w.Edit_sumnet->text(), w.Edit_versandkosten->text(),
                       w.Edit_einzelpreis->text(), w.Label_zahlungstext->text(),
                       w.ComboBox_zahlung->currentText()}
               .join(QLatin1Char('\n'));
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

// Notes with each box at start whether the window behind it is still half set up, as it would
// be before its first refresh: the licence table over the guide, or no price.
class ChildDesktop : public RecordingDesktop {
public:
    Answer ask(QWidget* parent, const QString& text) override
    {
        return confirm(parent, text + behind(parent));
    }
    void showError(QWidget* parent, const QString& text) override
    {
        RecordingDesktop::showError(parent, text + behind(parent));
    }

private:
    static QString behind(QWidget* parent)
    {
        auto* w = qobject_cast<TForm_order*>(parent);
        const bool halfSetUp =
            w && ((w->Label_help->isVisibleTo(w) && w->StringGrid_lizenzen->isVisibleTo(w)) ||
                  w->Edit_einzelpreis->text().isEmpty());
        return halfSetUp ? QStringLiteral(" [window half set up]") : QString();
    }
};

int runChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InitialiseApplication();
    ChildDesktop desktop;
    const QString mode = QString::fromLatin1(argv[2]);
    // The first question is answered as the mode says: the save prompt in the dialog mode, the
    // offer of the copy in the report modes.
    if (mode == QLatin1String("dialog") || mode == QLatin1String("report-no"))
        desktop.answers << Desktop::Answer::No;
    else if (mode.startsWith(QLatin1String("report-escape")))
        desktop.answers << Desktop::Answer::Cancel;
    const int status = RunOrderProgram(desktop, [&](TForm_order& w) {
        QTimer::singleShot(100, &w, [&] {
            if (mode.startsWith(QLatin1String("report"))) {
                writeFile(QStringLiteral("after.txt"), visibleOrder(w).toUtf8());
                // Typing after the offer was put off: this run's own copy is written first.
                const bool edit = mode.endsWith(QLatin1String("-edit"));
                if (edit)
                    QTest::keyClicks(w.Memo1, QStringLiteral("x"));
                QTimer::singleShot(edit ? 1500 : 0, &w, [&w] { w.Button_cancel->click(); });
                return;
            }
            auto started = [&w, mode] {
                if (mode != QLatin1String("idle"))
                    writeFile(QStringLiteral("before.txt"), visibleOrder(w).toUtf8());
                writeFile(QStringLiteral("started"), {});
            };
            if (mode != QLatin1String("idle"))
                compose(w);
            // "Email" pressed without a key or the mouse, as a screen reader does, after the
            // copy of the composed order was written.
            if (mode == QLatin1String("mail"))
                return QTimer::singleShot(1500, &w, [&w, started] {
                    w.Button_email->click();
                    started();
                });
            started();
            // The save prompt answered "No", then the real choice dialog stays open.
            if (mode == QLatin1String("dialog"))
                w.Button_ok->click();
        });
    });
    // The boxes of a run that ended on its own, for the test to read.
    const QStringList boxes = desktop.confirmations + desktop.messages + desktop.errors;
    if (!boxes.isEmpty())
        writeFile(QStringLiteral("boxes.log"), boxes.join(QLatin1Char('\n')).toUtf8());
    return status;
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
        // The user's state folder, for a copy the working directory cannot take, is the test's.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("state")));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QString::fromLatin1(mode)});
        QVERIFY(child.waitForStarted(10000));
    }
    void waitUntilStarted() { QTRY_VERIFY_WITH_TIMEOUT(exists("started"), 20000); }
    // Runs the program to its end; its exit status.
    int run(const char* mode)
    {
        QProcess child;
        start(child, mode);
        return child.waitForFinished(20000) ? child.exitCode() : -1;
    }
    QByteArray bytes(const char* name) const { return fileBytes(path(QString::fromLatin1(name))); }
    bool exists(const char* name) const
    {
        return QFileInfo::exists(path(QString::fromLatin1(name)));
    }
    // The order.qzo of last week, which nothing here may touch.
    QByteArray lastWeeksOrder()
    {
        velmaro::SavedOrder order;
        order.orderLines = {"last week's order"};
        const QByteArray file = QByteArray::fromStdString(velmaro::FormatOrderFile(order));
        writeFile(path(QStringLiteral("order.qzo")), file);
        return file;
    }

private slots:
    void init() { QVERIFY(QDir(dir_.path()).removeRecursively() && QDir().mkpath(dir_.path())); }

    void endsNotChosen_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<bool>("pipeAtName"); // something that takes no copy at the copy's name
        // 0 is the hard kill, which every system has.
        QTest::newRow("kill -9") << 0 << QByteArray("compose") << false;
#if defined(Q_OS_UNIX)
        QTest::newRow("SIGTERM") << int(SIGTERM) << QByteArray("compose") << false;
        QTest::newRow("SIGHUP in the choice dialog")
            << int(SIGHUP) << QByteArray("dialog") << false;
        QTest::newRow("SIGTERM, nothing changed") << int(SIGTERM) << QByteArray("idle") << false;
        QTest::newRow("kill -9, a pipe at the copy's name") << 0 << QByteArray("compose") << true;
        QTest::newRow("kill -9 after a mail") << 0 << QByteArray("mail") << false;
#endif
    }

    // Whatever stopped the program, the next start offers the order as it was two seconds
    // before; a signal ends it at once with status 0, even from inside a modal dialog, and
    // nothing after that dialog runs.
    void endsNotChosen()
    {
        QFETCH(int, signal);
        QFETCH(QByteArray, mode);
        QFETCH(bool, pipeAtName);
        const QByteArray saved = lastWeeksOrder();
#if defined(Q_OS_UNIX)
        if (pipeAtName)
            QCOMPARE(::mkfifo(QFile::encodeName(path(QString::fromLatin1(kRecovery))), 0600), 0);
#endif
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
        QCOMPARE(bytes("order.qzo"), saved);
        if (mode == "idle") {
            QVERIFY(!exists(kRecovery));
            return;
        }
        // Owner only: it holds the card fields.
        if (!pipeAtName)
            QCOMPARE(QFileInfo(path(QString::fromLatin1(kRecovery))).permissions() & 0x0fff,
                     QFileDevice::ReadUser | QFileDevice::WriteUser);

        QCOMPARE(run("report"), 0);
        const QByteArray after = bytes("after.txt");
        QCOMPARE(after, bytes("before.txt"));
        QVERIFY(after.contains("Erika Muster") && after.endsWith("PayPal"));
        QVERIFY(bytes("boxes.log").startsWith("The order you were working on at "));
        QCOMPARE(bytes("order.qzo"), saved);
        // Ended by "Cancel": nothing is left for the next start.
        QCOMPARE(exists(kRecovery), pipeAtName);
        QVERIFY(!exists(kLock));
    }

    void offer_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QByteArray>("damage");
        QTest::addColumn<bool>("kept");
        QTest::newRow("No") << QByteArray("report-no") << QByteArray() << false;
        QTest::newRow("Escape") << QByteArray("report-escape") << QByteArray() << true;
        QTest::newRow("Escape, typing, Cancel")
            << QByteArray("report-escape-edit") << QByteArray() << true;
        QTest::newRow("cut short") << QByteArray("report") << QByteArray("cut") << false;
        QTest::newRow("another file") << QByteArray("report") << QByteArray("other") << false;
    }

    // Whatever the answer, order.qzo loads as usual unless the copy was taken; only "No" deletes
    // the copy, and a damaged one is said once and put aside.
    void offer()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QByteArray, damage);
        QFETCH(bool, kept);
        const bool damaged = !damage.isEmpty();
        velmaro::RecoveryCopy unsaved;
        unsaved.order.orderLines = {"unsaved order"};
        QByteArray copy = QByteArray::fromStdString(velmaro::FormatRecoveryCopy(unsaved));
        if (damage == "cut")
            copy.chop(3);
        else if (damage == "other")
            copy = lastWeeksOrder();
        lastWeeksOrder();
        writeFile(path(QString::fromLatin1(kRecovery)), copy);
        QCOMPARE(run(mode.constData()), 0);
        QCOMPARE(bytes("boxes.log").startsWith("The order you were working on at "), !damaged);
        QVERIFY(!bytes("boxes.log").contains("[window half set up]"));
        QVERIFY(bytes("after.txt").contains("last week's order"));
        QCOMPARE(bytes(kRecovery) == copy, kept);
        const QStringList aside =
            QDir(dir_.path()).entryList({QStringLiteral("order.qzo.recovery.damaged-*")});
        QCOMPARE(aside.size(), damaged ? 1 : 0);
    }

    void lock_data()
    {
        QTest::addColumn<QByteArray>("road");
        QTest::newRow("first window still open") << QByteArray("open");
        QTest::newRow("first window killed") << QByteArray("killed");
        QTest::newRow("lock left empty by a power cut") << QByteArray("cut");
    }

    // One window per folder: a second start while the first runs says so and touches nothing;
    // the lock of a process that is gone, or one that names no owner, is taken over without a
    // word.
    void lock()
    {
        QFETCH(QByteArray, road);
        const bool firstRuns = road == "open";
        const QByteArray saved = lastWeeksOrder();
        QProcess first;
        QFile cut(path(QString::fromLatin1(kLock)));
        if (road == "cut") {
            QVERIFY(cut.open(QIODevice::WriteOnly) &&
                    cut.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                    QFileDevice::FileModificationTime));
        } else {
            start(first, "idle");
            waitUntilStarted();
        }
        if (road == "killed") {
            first.kill();
            QVERIFY(first.waitForFinished(10000));
        }
        QVERIFY(exists(kLock));

        const int status = run("report");
        const QByteArray boxes = bytes("boxes.log");
        if (firstRuns) {
            QCOMPARE(status, 1);
            QCOMPARE(boxes, "The order in this folder is already open in another VELMARO Order "
                            "window.");
            QVERIFY(!exists("after.txt"));
            QCOMPARE(first.state(), QProcess::Running);
            first.terminate();
            QVERIFY(first.waitForFinished(10000));
        } else {
            QCOMPARE(status, 0);
            QCOMPARE(boxes, "<missing>");
            QVERIFY(bytes("after.txt").contains("last week's order"));
        }
        QCOMPARE(bytes("order.qzo"), saved);
        QVERIFY(!exists(kLock));
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
