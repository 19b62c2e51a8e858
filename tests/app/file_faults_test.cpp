// Writing order.qzo and outwin.txt when the file system says no: the previous file stays
// exactly as it was, the user learns why, and the flags stay as they were.
#include "platform/text_file.h"
#include "window_fixture.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QByteArray kPrevious = "previous content\r\nkept as it was\r\n";

// A fault of the file system for as long as it lives.
class Fault {
public:
    Fault(const QString& kind, const QString& fileName)
    {
        const QString dir = QDir::currentPath();
        if (kind == QLatin1String("read-only file")) {
            const QFile::Permissions old = QFile::permissions(fileName);
            QFile::setPermissions(fileName, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            undo_ = [=] { QFile::setPermissions(fileName, old); };
        } else if (kind == QLatin1String("read-only directory")) {
            const QFile::Permissions old = QFile::permissions(dir);
            QFile::setPermissions(dir, old & ~(QFile::WriteOwner | QFile::WriteUser |
                                               QFile::WriteGroup | QFile::WriteOther));
            undo_ = [=] { QFile::setPermissions(dir, old); };
        } else if (kind == QLatin1String("write stops part-way")) {
#ifdef Q_OS_UNIX
            // Files may grow to 1 KiB only; past that, write() fails with EFBIG instead of
            // the process being killed.
            rlimit old{};
            getrlimit(RLIMIT_FSIZE, &old);
            rlimit limited = old;
            limited.rlim_cur = 1024;
            setrlimit(RLIMIT_FSIZE, &limited);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            undo_ = [=] {
                setrlimit(RLIMIT_FSIZE, &old);
                std::signal(SIGXFSZ, oldHandler);
            };
#endif
        } else if (kind == QLatin1String("disk full")) {
            // Through the writer's seam: a full file system cannot be mounted everywhere.
            SetWriteErrorForTesting(ENOSPC);
            undo_ = [] { SetWriteErrorForTesting(0); };
        } else if (kind == QLatin1String("no file handle left")) {
#ifdef Q_OS_UNIX
            rlimit old{};
            getrlimit(RLIMIT_NOFILE, &old);
            const rlimit none{0, old.rlim_max};
            setrlimit(RLIMIT_NOFILE, &none);
            undo_ = [=] { setrlimit(RLIMIT_NOFILE, &old); };
#endif
        } else {
            qFatal("unknown fault %s", qPrintable(kind));
        }
    }
    ~Fault()
    {
        undo_();
    }
    Fault(const Fault&) = delete;
    Fault& operator=(const Fault&) = delete;

private:
    std::function<void()> undo_ = [] {};
};

void save(WindowFixture& f)
{
    f->Button_save->click();
}

void openInEditor(WindowFixture& f)
{
    WindowFixture::click(f->Button_notepad);
}

} // namespace

class FileFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void failedWriteKeepsThePreviousFile_data();
    void failedWriteKeepsThePreviousFile();
    void orderFileHeldOpenIsReplacedWhole();
};

void FileFaultsTest::failedWriteKeepsThePreviousFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // empty: written all the same

    const struct {
        const char* fault;
        const char* orderFile;
        const char* outwin;
    } cases[] = {
        {"read-only file", "File access denied.", "Cannot create file outwin.txt."},
        // outwin.txt is overwritten in place; nobody relies on its previous content.
        {"read-only directory", "File access denied.", ""},
        {"write stops part-way", "Disk full.", "Stream write error."},
        {"disk full", "Disk full.", "Stream write error."},
        {"no file handle left", "Too many open files.", "Cannot create file outwin.txt."},
    };
    for (const auto& c : cases) {
        QTest::addRow("order.qzo, %s", c.fault) << "order.qzo" << c.fault << c.orderFile;
        QTest::addRow("outwin.txt, %s", c.fault) << "outwin.txt" << c.fault << c.outwin;
    }
}

void FileFaultsTest::failedWriteKeepsThePreviousFile()
{
    QFETCH(QString, file);
    QFETCH(QString, fault);
    QFETCH(QString, message);
#ifndef Q_OS_UNIX
    if (fault != QLatin1String("read-only file"))
        QSKIP("the fault cannot be made on this platform");
#endif
    const bool orderFile = file == QLatin1String("order.qzo");
    const auto act = orderFile ? save : openInEditor;

    WindowFixture f;
    writeFile(file, kPrevious);
    // Far more than the file size limit of the part-way fault, and than Qt's write buffer, so
    // that a write itself fails and not only the final flush.
    const std::string line = "1 x Lumo Network Floating English : 383.00 EUR";
    f->orderText().setLines(std::vector<std::string>(3000, line));
    {
        Fault made(fault, file);
        act(f);
    }
    // No half-written file is left lying beside it.
    QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList{file});
    QVERIFY(!f->mailedFlag());
    QCOMPARE(f->orderText().count(), 3000);
    if (message.isEmpty()) {
        QVERIFY(f.desktop.errors.isEmpty());
        QCOMPARE(fileBytes(file).count(QByteArray::fromStdString(line + "\r\n")), 3000);
        QCOMPARE(f.desktop.editorStarts.size(), 1);
        return;
    }

    QCOMPARE(f.desktop.errors, QStringList{message});
    QCOMPARE(fileBytes(file), kPrevious);
    QVERIFY(!f->savedFlag());
    QVERIFY(f.desktop.editorStarts.isEmpty());

    // With the fault gone, the same click does its work.
    act(f);
    QCOMPARE(f.desktop.errors.size(), 1);
    QVERIFY(fileBytes(file).size() > 3000 * 40);
    QCOMPARE(f->savedFlag(), orderFile);
    QCOMPARE(f.desktop.editorStarts.size(), orderFile ? 0 : 1);
}

void FileFaultsTest::orderFileHeldOpenIsReplacedWhole()
{
#ifndef Q_OS_UNIX
    QSKIP("a file held open cannot be replaced on this platform");
#else
    // A program still reading the old file reads it to its end, and the new one is complete:
    // the file is never emptied and rewritten in place.
    WindowFixture f;
    writeFile(QStringLiteral("order.qzo"), kPrevious);
    QFile reader(QStringLiteral("order.qzo"));
    QVERIFY(reader.open(QIODevice::ReadOnly));
    QCOMPARE(reader.read(8), kPrevious.left(8));

    f->orderText().setLines({"new order"});
    f->Button_save->click();

    QVERIFY(f.desktop.errors.isEmpty());
    QVERIFY(f->savedFlag());
    QCOMPARE(reader.readAll(), kPrevious.mid(8));
    QVERIFY(fileBytes(QStringLiteral("order.qzo")).contains("\r\nnew order\r\n"));
#endif
}

QTEST_MAIN(FileFaultsTest)
#include "file_faults_test.moc"
