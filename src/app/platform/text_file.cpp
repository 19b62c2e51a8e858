#include "platform/text_file.h"

#include "core/order_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>

#include <cerrno>
#include <functional>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

#ifdef Q_OS_WIN
// Qt's file engine calls the Windows API, which does not set errno.
int lastSystemError()
{
    return static_cast<int>(GetLastError());
}

// Not every SDK's error header names it (the MinGW one does not); the value is the system's.
constexpr int kErrorDiskQuotaExceeded = 1295;

Kind kindOfSystemError(int error)
{
    switch (static_cast<DWORD>(error)) {
    case ERROR_FILE_NOT_FOUND:
        return Kind::NotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
        return Kind::BadName;
    case ERROR_TOO_MANY_OPEN_FILES:
        return Kind::TooManyFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return Kind::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
    case kErrorDiskQuotaExceeded:
        return Kind::DiskFull;
    default:
        return Kind::SystemError;
    }
}
#else
int lastSystemError()
{
    return errno;
}

Kind kindOfSystemError(int error)
{
    switch (error) {
    case ENOENT:
        return Kind::NotFound;
    case ENAMETOOLONG:
    case ENOTDIR:
    case ELOOP:
        return Kind::BadName;
    case EMFILE:
    case ENFILE:
        return Kind::TooManyFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
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
#endif

// The failure for a system error number; `unknown` when the system gave none.
FileFailure failureOf(int error, bool whileWriting, Kind unknown)
{
    return FileFailure{error ? kindOfSystemError(error) : unknown, whileWriting, error};
}

// The failure as the system reports it right now.
FileFailure failure(bool whileWriting, Kind unknown)
{
    return failureOf(lastSystemError(), whileWriting, unknown);
}

// As root, or on a file system that ignores the mode, permission bits stop nothing; the
// program still honours a file or directory that was made read-only on purpose.
bool markedReadOnly(const QFileInfo& info)
{
    return !(info.permissions() & kWriteBits);
}

bool directoryMarkedReadOnly([[maybe_unused]] const QFileInfo& file)
{
#ifdef Q_OS_WIN
    // Windows folders carry a read-only attribute that does not stop writing (it marks
    // customised folders such as Documents), so there only the file's own attribute counts.
    return false;
#else
    return markedReadOnly(QFileInfo(file.absolutePath()));
#endif
}

// Pieces of about this many bytes go to the file at a time: large enough for few system calls,
// small enough that the memory is reused rather than freshly mapped for every save.
constexpr qsizetype kChunk = 64 * 1024;

int writeErrorForTesting = 0;

// Takes one piece of the file's bytes; false when writing it failed.
using Sink = std::function<bool(const QByteArray&)>;
using Fill = std::function<bool(const Sink&)>;

// Hands what `fill` makes to the open file and flushes it. A lack of space can show at a write
// (a piece larger than Qt's buffer goes to the system at once) or only at the flush; either way
// it is a failure while writing, with the error number of the step that failed.
std::optional<FileFailure> writeAndFlush(QFileDevice& file, const Fill& fill)
{
    int error = 0;
    const Sink write = [&file, &error](const QByteArray& bytes) {
        if (writeErrorForTesting != 0) {
            error = writeErrorForTesting;
            return false;
        }
        clearSystemError();
        if (file.write(bytes) == bytes.size())
            return true;
        error = lastSystemError();
        return false;
    };
    if (!fill(write))
        return failureOf(error, true, Kind::DiskFull);
    clearSystemError();
    if (!file.flush())
        return failure(true, Kind::DiskFull);
    return std::nullopt;
}

std::optional<FileFailure> writeInPlace(const QString& fileName, const Fill& fill)
{
    QFile file(fileName);
    clearSystemError();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return failure(false, Kind::AccessDenied);
    return writeAndFlush(file, fill);
}

// Replaces the file by what `fill` hands to its sink, piece by piece, or leaves the previous
// file as it was; `fill` returns false as soon as a piece could not be written. With
// `inPlaceFallback`, a directory that cannot take the temporary file has the existing file
// overwritten instead.
std::optional<FileFailure> writeFile(const QString& fileName, bool inPlaceFallback,
                                     const Fill& fill, bool ownerOnly = false)
{
    const QFileInfo info(fileName);
    // Only a regular file is replaced. The temporary file would take the place of whatever a
    // link leads to, so a link to /dev/null would cost an administrator the device itself; a
    // pipe, socket or directory at the name is refused as the reader refuses it.
    if (info.exists() && (!info.isFile() || markedReadOnly(info)))
        return FileFailure{Kind::AccessDenied, false, 0};
    // Only a file that is there can be overwritten in place.
    const bool inPlace = inPlaceFallback && info.exists();
    if (directoryMarkedReadOnly(info)) {
        if (inPlace)
            return writeInPlace(fileName, fill);
        return FileFailure{Kind::AccessDenied, false, 0};
    }

    QSaveFile file(fileName);
    file.setDirectWriteFallback(inPlace);
    clearSystemError();
    if (!file.open(QIODevice::WriteOnly))
        return failure(false, Kind::AccessDenied);
    // The temporary file gets its rights before the first byte, so no moment has the content
    // readable by others.
    if (ownerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return failure(false, Kind::AccessDenied);
    }

    // The final flush is checked here: commit() alone can report success after a flush that
    // failed on a full disk, and would then put a truncated file in place of the old one.
    if (std::optional<FileFailure> stopped = writeAndFlush(file, fill)) {
        file.cancelWriting();
        return stopped;
    }
    clearSystemError();
    if (!file.commit()) {
        // A write error that Qt kept to itself comes out only here.
        const bool whileWriting =
            file.error() == QFileDevice::WriteError || file.error() == QFileDevice::ResourceError;
        return failure(whileWriting, whileWriting ? Kind::DiskFull : Kind::AccessDenied);
    }
    return std::nullopt;
}

// Where the system code page is UTF-8: on Unix always, on Windows when the user chose it.
bool systemCodePageIsUtf8()
{
    static const bool utf8 =
        QStringEncoder(QStringConverter::System).encode(u"\u00e4") == QByteArrayLiteral("\xc3\xa4");
    return utf8;
}

// Opens the file for reading only when it is a regular file; a pipe, socket, device or directory
// is refused without ever being opened for reading.
std::optional<FileFailure> openRegularFile(const QString& fileName, QFile& file)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return FileFailure{Kind::NotFound, false, ENOENT};
    if (!info.isFile())
        return FileFailure{Kind::AccessDenied, false, 0};
#ifdef Q_OS_UNIX
    // Something else may take the name between the look and the open: opened without blocking
    // and looked at again through the handle, a pipe put there in between is refused as well.
    clearSystemError();
    const int fd =
        ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failure(false, Kind::AccessDenied);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return FileFailure{Kind::AccessDenied, false, 0};
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileFailure{Kind::AccessDenied, false, 0};
    }
#else
    file.setFileName(fileName);
    clearSystemError();
    if (!file.open(QIODevice::ReadOnly))
        return failure(false, Kind::AccessDenied);
#endif
    return std::nullopt;
}

// Hands the bytes on as they are, a piece at a time.
Fill piecesOf(QByteArrayView bytes)
{
    return [bytes](const Sink& write) {
        for (qsizetype pos = 0; pos < bytes.size(); pos += kChunk) {
            const QByteArrayView piece = bytes.sliced(pos, qMin(kChunk, bytes.size() - pos));
            if (!write(QByteArray::fromRawData(piece.data(), piece.size())))
                return false;
        }
        return true;
    };
}

} // namespace

std::optional<FileFailure> WriteTextFile(const QString& fileName, QStringView text)
{
    return writeFile(fileName, true, [text](const Sink& write) {
        QStringEncoder encoder(QStringConverter::System);
        QByteArray buffer;
        buffer.reserve(2 * kChunk);
        qsizetype start = 0;
        while (start < text.size()) {
            qsizetype end = text.indexOf(QLatin1Char('\n'), start);
            const bool lineBreak = end >= 0;
            if (!lineBreak)
                end = text.size();
            // Long lines go in pieces too; a piece never ends inside a surrogate pair.
            qsizetype pos = start;
            while (pos < end) {
                qsizetype piece = qMin(end - pos, kChunk / 4);
                if (pos + piece < end && text[pos + piece - 1].isHighSurrogate())
                    --piece;
                const QStringView part = text.mid(pos, piece);
                const qsizetype used = buffer.size();
                buffer.resize(used + encoder.requiredSpace(part.size()));
                char* filled = encoder.appendToBuffer(buffer.data() + used, part);
                buffer.resize(filled - buffer.constData());
                pos += piece;
                if (buffer.size() >= kChunk) {
                    if (!write(buffer))
                        return false;
                    buffer.resize(0); // keeps the memory for the next piece
                }
            }
            if (lineBreak)
                buffer += "\r\n";
            start = end + 1;
        }
        return buffer.isEmpty() || write(buffer);
    });
}

std::optional<FileFailure> WriteUtf8TextFile(const QString& fileName, std::string_view utf8)
{
    return writeFile(fileName, false, [utf8](const Sink& write) {
        QStringDecoder decoder(QStringConverter::Utf8);
        QStringEncoder encoder(QStringConverter::System);
        for (std::size_t pos = 0; pos < utf8.size(); pos += kChunk) {
            const std::string_view piece = utf8.substr(pos, kChunk);
            // The decoder carries a character cut at a piece's end over to the next piece.
            const QByteArray bytes = encoder.encode(
                decoder.decode(QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size()))));
            if (!write(bytes))
                return false;
        }
        return true;
    });
}

std::optional<FileFailure> ReadUtf8TextFile(const QString& fileName, std::string& text,
                                            qint64 maxBytes)
{
    QFile file;
    if (std::optional<FileFailure> refused = openRegularFile(fileName, file))
        return refused;
    const qint64 size = file.size();
    if (size > maxBytes)
        return FileFailure{Kind::TooLarge, false, 0};

    // Read straight into the string the parser takes, so the file is held once.
    std::string bytes(static_cast<std::size_t>(size), '\0');
    clearSystemError();
    const qint64 got = file.read(bytes.data(), size);
    if (got < 0 || file.error() != QFileDevice::NoError)
        return failure(false, Kind::AccessDenied);
    // A file cut short meanwhile is read as far as it goes; one that grew, as far as it was.
    bytes.resize(static_cast<std::size_t>(got));
    file.close();

    // A byte-order mark that an editor put there says UTF-8 whatever the system's code page.
    if (systemCodePageIsUtf8() || std::string_view(bytes).starts_with("\xEF\xBB\xBF")) {
        text = velmaro::Utf8OrWindows1252(std::move(bytes));
    } else {
        QStringDecoder decoder(QStringConverter::System);
        text = QString(decoder.decode(QByteArrayView(bytes.data(), got))).toStdString();
    }
    return std::nullopt;
}

std::optional<FileFailure> WriteBinaryFile(const QString& fileName, QByteArrayView bytes)
{
    return writeFile(fileName, false, piecesOf(bytes));
}

std::optional<FileFailure> WritePrivateFile(const QString& fileName, QByteArrayView bytes)
{
    return writeFile(fileName, false, piecesOf(bytes), true);
}

void SetWriteErrorForTesting(int systemError)
{
    writeErrorForTesting = systemError;
}
