#pragma once

#include "core/recovery_copy.h"

#include <QDateTime>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QSessionManager;
class QSocketNotifier;

// Keeps the order of the working directory safe while the window is open: the folder lock that
// keeps a second window away from it, the recovery copy that every change reaches within
// two seconds, and the ends the customer did not choose (a termination signal, the end of the
// session), which write the copy and end the program without a word.
//
// The copy is written atomically with owner-only rights (it holds the card fields), from a
// snapshot that a worker thread formats and syncs to disk, so typing never waits for the disk.
// Only an end the customer chose removes it; whatever else ends the process leaves it for the
// next start to offer.
class OrderSafeguard : public QObject {
    Q_OBJECT
public:
    // The form's state as it is now; called on the GUI thread.
    using Snapshot = std::function<velmaro::RecoveryCopy()>;

    // How long after a change the copy is written. Changes that follow within it are written
    // with it, so steady typing writes about once per interval and never waits for a pause.
    static constexpr std::chrono::milliseconds kWriteDelay{1000};

    enum class Lock {
        Taken,      // this process works on the folder's order (or no lock can be made at all)
        HeldByOther // another window that still runs has it
    };

    explicit OrderSafeguard(QObject* parent = nullptr);
    // Waits for a write under way and releases the lock; the copy stays.
    ~OrderSafeguard() override;

    // Takes the lock on the working directory's order before anything of it is read. A lock
    // whose owner no longer runs is taken over. Where the folder takes no file, the lock and the
    // copy live in the user's state folder, under a name made from the folder's path.
    Lock lockFolder();
    QString recoveryPath() const { return copyDir_ + QStringLiteral("/order.qzo.recovery"); }
    QString lockPath() const { return dir_ + QStringLiteral("/order.qzo.lock"); }

    // When a copy left by an ended process was last written; nullopt when there is none.
    std::optional<QDateTime> leftOverChangedAt() const;
    // Reads the left-over copy. Throws InOutError for a copy that cannot be read or is damaged.
    velmaro::RecoveryCopy readLeftOver() const;
    // Puts a damaged copy aside under a name with a suffix, so nothing of it is lost and the
    // next start does not stumble over it again; returns that name (empty if it stayed).
    QString setAsideLeftOver(const QString& why = QStringLiteral("damaged")) const;
    void removeLeftOver() const;
    // The customer put the offer off: the copy stays for the next start. Should this run have
    // changes of its own to keep, it is put aside meanwhile; the customer's end puts it back.
    void keepLeftOver() { leftOverKept_ = true; }

    // From now on changes are watched; the state at this moment is the one that needs no copy.
    void watch(Snapshot snapshot);
    // Something in the form may have changed: the copy follows within kWriteDelay.
    void changed();
    // Writes the copy now and returns once it is on disk.
    void writeNow();
    // The customer chose to end: no copy is written any more and the one there is removed.
    void endByCustomer();
    // Gives the folder free for the next window; the copy stays as it is.
    void releaseLock();

    // SIGTERM, SIGHUP and SIGINT (on Windows the console's close, logoff and shutdown events)
    // and the session's end write the copy; a signal then ends the program with status 0 at
    // once, even from inside a modal box, so nothing that would follow the box runs.
    void catchEnds();
    // Set once the session has asked to save: a window closed from now on was not closed by the
    // customer.
    bool sessionEnding() const { return sessionEnding_; }
    // What a caught signal does: the copy is written, the folder given free, and the program
    // ends with status 0.
    [[noreturn]] void endBySignal();

private:
    void writeWhatChanged();
    void commitData(QSessionManager& manager);
    void runWriter();
    void waitUntilWritten(std::unique_lock<std::mutex>& lock);

    QString dir_;     // where the lock lives
    QString copyDir_; // where the copy lives: the lock's folder unless its name is taken there
    std::unique_ptr<QLockFile> lock_;
    Snapshot snapshot_;
    QTimer timer_;
    bool sessionEnding_ = false;
    bool leftOverKept_ = false;
    QString putOffAside_; // where the put-off copy waits while this run's own copy is kept
    QSocketNotifier* signalNotifier_ = nullptr;

    // The last state handed to the writer (or the watched start), so an unchanged form writes
    // nothing. GUI thread only.
    std::optional<velmaro::RecoveryCopy> lastQueued_;

    // Shared with the writer thread.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<velmaro::RecoveryCopy> pending_;
    bool writing_ = false;
    bool stopped_ = false;
    bool quit_ = false;
    std::thread writer_;
};
