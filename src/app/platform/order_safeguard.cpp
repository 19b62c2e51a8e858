#include "platform/order_safeguard.h"

#include "core/errors.h"
#include "platform/text_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#else
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

// Where the lock and the copy go when the working directory takes no file: the user's state
// folder, one subfolder per working directory.
QString stateFolderFor(const QString& workingDir)
{
    const QByteArray key =
        QCryptographicHash::hash(workingDir.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery/") + QString::fromLatin1(key);
}

std::unique_ptr<QLockFile> lockIn(const QString& dir)
{
    auto lock = std::make_unique<QLockFile>(dir + QStringLiteral("/order.qzo.lock"));
    // Only an owner that no longer runs makes the lock stale: a window left open for days
    // still holds its folder.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) {
        // A lock that names no owner was cut short (a power cut between making it and writing
        // it, say): no window will ever give it free, so it must not keep every start out. A
        // lock still being written is younger than a few seconds.
        qint64 pid = 0;
        QString host;
        QString program;
        const QDateTime made = QFileInfo(lock->fileName()).lastModified();
        if (!lock->getLockInfo(&pid, &host, &program) &&
            made.secsTo(QDateTime::currentDateTime()) > 5 && lock->removeStaleLockFile())
            lock->tryLock(0);
    }
    return lock;
}

OrderSafeguard* signalTarget = nullptr;

#if defined(Q_OS_WIN)
BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // This runs on a thread of its own, and the system ends the process as soon as it
        // returns: hand the end to the GUI thread and wait there, which never comes back.
        if (OrderSafeguard* target = signalTarget)
            QMetaObject::invokeMethod(
                target, [target] { target->endBySignal(); }, Qt::BlockingQueuedConnection);
        return TRUE;
    default:
        return FALSE;
    }
}
#else
// Written by the signal handler, read by the notifier on the GUI thread.
int signalSockets[2] = {-1, -1};
constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onEndSignal(int signal)
{
    // Nothing but write() is safe here; everything else happens on the GUI thread.
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}
#endif

} // namespace

OrderSafeguard::OrderSafeguard(QObject* parent)
    : QObject(parent), dir_(QDir::currentPath()), copyDir_(dir_)
{
    timer_.setSingleShot(true);
    timer_.setInterval(kWriteDelay);
    connect(&timer_, &QTimer::timeout, this, &OrderSafeguard::writeWhatChanged);
}

OrderSafeguard::~OrderSafeguard()
{
    if (signalTarget == this) {
#if defined(Q_OS_WIN)
        SetConsoleCtrlHandler(onConsoleEvent, FALSE);
#else
        // After the window, a signal ends the program the ordinary way again.
        for (int signal : kEndSignals)
            std::signal(signal, SIG_DFL);
#endif
        signalTarget = nullptr;
    }
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (writer_.joinable())
        writer_.join();
}

OrderSafeguard::Lock OrderSafeguard::lockFolder()
{
    lock_ = lockIn(dir_);
    if (!lock_->isLocked()) {
        if (lock_->error() == QLockFile::LockFailedError)
            return Lock::HeldByOther;
        // The folder takes no file (read-only, say): the state folder keeps both for it.
        const QString stateDir = stateFolderFor(dir_);
        QDir().mkpath(stateDir);
        dir_ = stateDir;
        lock_ = lockIn(dir_);
        if (!lock_->isLocked() && lock_->error() == QLockFile::LockFailedError)
            return Lock::HeldByOther;
        // A lock that cannot be made at all says nothing about another window: work without it.
    }
    copyDir_ = dir_;
    // A pipe, folder or device at the copy's name takes no copy, and every change would go
    // unkept without a word: the state folder keeps the copy instead, where every start of
    // this folder looks for it as well.
    const QFileInfo atName(recoveryPath());
    if (atName.exists() && !atName.isFile()) {
        copyDir_ = stateFolderFor(dir_);
        QDir().mkpath(copyDir_);
    }
    return Lock::Taken;
}

std::optional<QDateTime> OrderSafeguard::leftOverChangedAt() const
{
    const QFileInfo info(recoveryPath());
    if (!info.isFile())
        return std::nullopt;
    return info.lastModified();
}

velmaro::RecoveryCopy OrderSafeguard::readLeftOver() const
{
    QFile file(recoveryPath());
    if (!file.open(QIODevice::ReadOnly))
        throw velmaro::InOutError(5);
    if (file.size() > 2 * velmaro::kMaxOrderFileBytes)
        throw velmaro::InOutError(106);
    const QByteArray bytes = file.readAll();
    return velmaro::ParseRecoveryCopy(std::string_view(bytes.constData(), bytes.size()));
}

QString OrderSafeguard::setAsideLeftOver(const QString& why) const
{
    const QString aside = recoveryPath() + QLatin1Char('.') + why + QLatin1Char('-') +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QFile::rename(recoveryPath(), aside) ? aside : QString();
}

void OrderSafeguard::removeLeftOver() const
{
    QFile::remove(recoveryPath());
}

void OrderSafeguard::watch(Snapshot snapshot)
{
    snapshot_ = std::move(snapshot);
    lastQueued_ = snapshot_();
    if (!writer_.joinable())
        writer_ = std::thread([this] { runWriter(); });
}

void OrderSafeguard::changed()
{
    // A running timer already takes this change along: restarting it would put the write off
    // for as long as typing goes on.
    if (snapshot_ && !timer_.isActive())
        timer_.start();
}

void OrderSafeguard::writeWhatChanged()
{
    // Only this thread sets stopped_, so it reads it without the lock.
    if (!snapshot_ || stopped_)
        return;
    velmaro::RecoveryCopy now = snapshot_();
    if (now == lastQueued_)
        return;
    lastQueued_ = now;
    if (leftOverKept_) {
        leftOverKept_ = false;
        putOffAside_ = setAsideLeftOver(QStringLiteral("earlier"));
    }
    {
        std::lock_guard lock(mutex_);
        // A copy still waiting is simply replaced: only the latest state matters.
        pending_ = std::move(now);
    }
    wake_.notify_all();
}

void OrderSafeguard::writeNow()
{
    timer_.stop();
    writeWhatChanged();
    std::unique_lock lock(mutex_);
    waitUntilWritten(lock);
}

void OrderSafeguard::waitUntilWritten(std::unique_lock<std::mutex>& lock)
{
    wake_.wait(lock, [this] { return !writing_ && (!pending_ || !writer_.joinable()); });
}

void OrderSafeguard::endByCustomer()
{
    timer_.stop();
    {
        std::unique_lock lock(mutex_);
        stopped_ = true;
        pending_.reset();
        waitUntilWritten(lock);
    }
    if (!leftOverKept_)
        removeLeftOver();
    // This run's work went as the customer chose; the order put off at the start was promised
    // to the next start.
    if (!putOffAside_.isEmpty())
        QFile::rename(putOffAside_, recoveryPath());
}

void OrderSafeguard::releaseLock()
{
    if (lock_)
        lock_->unlock();
}

void OrderSafeguard::runWriter()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || pending_; });
        if (quit_)
            return;
        const velmaro::RecoveryCopy copy = std::move(*pending_);
        pending_.reset();
        writing_ = true;
        lock.unlock();
        // A copy that cannot be written (a full disk, say) is tried again at the next change;
        // the window goes on either way.
        WritePrivateFile(recoveryPath(), velmaro::FormatRecoveryCopy(copy));
        lock.lock();
        writing_ = false;
        wake_.notify_all();
    }
}

void OrderSafeguard::catchEnds()
{
    signalTarget = this;
#if QT_CONFIG(sessionmanager)
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &OrderSafeguard::commitData);
#endif
#if defined(Q_OS_WIN)
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSockets) != 0)
        return;
    signalNotifier_ = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(signalNotifier_, &QSocketNotifier::activated, this, [this] { endBySignal(); });
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kEndSignals)
        sigaction(signal, &action, nullptr);
#endif
}

void OrderSafeguard::endBySignal()
{
    writeNow();
    releaseLock();
    // Ending the event loop would return from any open box into the code that opened it, which
    // might still save or hand the order on: the program ends here instead, its work kept.
    std::fflush(nullptr);
    std::_Exit(0);
}

void OrderSafeguard::commitData(QSessionManager&)
{
    // The copy is written and the logout goes on: no question holds it up.
    sessionEnding_ = true;
    writeNow();
}
