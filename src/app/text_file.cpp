#include "text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>

#include <cerrno>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

using Kind = FileFailure::Kind;

// The permission bits of the file itself; WriteUser says what the current user may do, which
// for an administrator is everything.
constexpr QFileDevice::Permissions kWriteBits =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// Qt reports its file errors as texts only, so the number is taken from the system right
// after the failing call, having cleared it before.
void clearSystemError()
{
#ifdef Q_OS_WIN
    SetLastError(0);
#endif
    errno = 0;
}

Kind kindOfErrno(int error)
{
    switch (error) {
    case ENOENT:
        return Kind::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return Kind::AccessDenied;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Kind::DiskFull;
    default:
        return Kind::SystemError;
    }
}

#ifdef Q_OS_WIN
Kind kindOfWindowsError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Kind::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return Kind::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Kind::DiskFull;
    default:
        return Kind::SystemError;
    }
}
#endif

// The failure as the system reports it; `unknown` when the system gave no error number.
FileFailure failure(bool whileWriting, Kind unknown)
{
#ifdef Q_OS_WIN
    // Qt's file engine calls the Windows API, which does not set errno.
    if (const DWORD error = GetLastError())
        return FileFailure{kindOfWindowsError(error), whileWriting, static_cast<int>(error)};
#endif
    const int error = errno;
    return FileFailure{error ? kindOfErrno(error) : unknown, whileWriting, error};
}

// As root, or on a file system that ignores the mode, permission bits stop nothing; the
// program still honours a file or directory that was made read-only on purpose.
bool markedReadOnly(const QFileInfo& info)
{
    return !(info.permissions() & kWriteBits);
}

std::optional<FileFailure> refuseReadOnly(const QString& fileName)
{
    const QFileInfo file(fileName);
    if (file.exists() && markedReadOnly(file))
        return FileFailure{Kind::AccessDenied, false, 0};
#ifndef Q_OS_WIN
    // Windows folders carry a read-only attribute that does not stop writing (it marks
    // customised folders such as Documents), so there only the file's own attribute counts.
    if (markedReadOnly(QFileInfo(file.absolutePath())))
        return FileFailure{Kind::AccessDenied, false, 0};
#endif
    return std::nullopt;
}

} // namespace

std::optional<FileFailure> WriteTextFile(const QString& fileName, const QString& text)
{
    if (std::optional<FileFailure> refused = refuseReadOnly(fileName))
        return refused;

    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(text);

    QSaveFile file(fileName);
    clearSystemError();
    if (!file.open(QIODevice::WriteOnly))
        return failure(false, Kind::AccessDenied);

    // The final flush is checked here: commit() alone can report success after a flush that
    // failed on a full disk, and would then put a truncated file in place of the old one.
    clearSystemError();
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush()) {
        FileFailure stopped = failure(true, Kind::DiskFull);
        if (written >= 0 && written < bytes.size())
            stopped.kind = Kind::DiskFull;
        file.cancelWriting();
        return stopped;
    }
    clearSystemError();
    if (!file.commit())
        return failure(false, Kind::AccessDenied);
    return std::nullopt;
}

std::optional<FileFailure> ReadTextFile(const QString& fileName, QString& text)
{
    QFile file(fileName);
    if (!file.exists())
        return FileFailure{Kind::NotFound, false, ENOENT};
    clearSystemError();
    if (!file.open(QIODevice::ReadOnly))
        return failure(false, Kind::AccessDenied);
    clearSystemError();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(false, Kind::AccessDenied);

    QStringDecoder decoder(QStringConverter::System);
    text = decoder.decode(bytes);
    return std::nullopt;
}
