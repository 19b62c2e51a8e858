#include "text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>

#include <cerrno>
#include <functional>

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

// Pieces of about this many bytes go to the file at a time: large enough for few system calls,
// small enough that the memory is reused rather than freshly mapped for every save.
constexpr qsizetype kChunk = 64 * 1024;

bool systemCodePageIsUtf8()
{
    static const bool utf8 = QStringEncoder(QStringConverter::System).name() ==
                             QStringConverter::nameForEncoding(QStringConverter::Utf8);
    return utf8;
}

// Takes one piece of the file's bytes; false when writing it failed.
using Sink = std::function<bool(const QByteArray&)>;

// Replaces the file by what `fill` hands to its sink, piece by piece, or leaves the previous
// file as it was; `fill` returns false as soon as a piece could not be written.
std::optional<FileFailure> writeAtomically(const QString& fileName,
                                           const std::function<bool(const Sink&)>& fill)
{
    if (std::optional<FileFailure> refused = refuseReadOnly(fileName))
        return refused;

    QSaveFile file(fileName);
    clearSystemError();
    if (!file.open(QIODevice::WriteOnly))
        return failure(false, Kind::AccessDenied);

    // The final flush is checked here: commit() alone can report success after a flush that
    // failed on a full disk, and would then put a truncated file in place of the old one.
    clearSystemError();
    const Sink write = [&file](const QByteArray& bytes) {
        return file.write(bytes) == bytes.size();
    };
    if (!fill(write) || !file.flush()) {
        const FileFailure stopped = failure(true, Kind::DiskFull);
        file.cancelWriting();
        return stopped;
    }
    clearSystemError();
    if (!file.commit())
        return failure(false, Kind::AccessDenied);
    return std::nullopt;
}

} // namespace

std::optional<FileFailure> WriteTextFile(const QString& fileName, QStringView text)
{
    return writeAtomically(fileName, [text](const Sink& write) {
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
    return writeAtomically(fileName, [utf8](const Sink& write) {
        QStringDecoder decoder(QStringConverter::Utf8);
        QStringEncoder encoder(QStringConverter::System);
        for (std::size_t pos = 0; pos < utf8.size(); pos += kChunk) {
            const std::string_view piece = utf8.substr(pos, kChunk);
            // The decoder carries a character cut at a piece's end over to the next piece.
            const QByteArray bytes =
                systemCodePageIsUtf8()
                    ? QByteArray::fromRawData(piece.data(), static_cast<qsizetype>(piece.size()))
                    : encoder.encode(decoder.decode(
                          QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size()))));
            if (!write(bytes))
                return false;
        }
        return true;
    });
}

std::optional<FileFailure> ReadUtf8TextFile(const QString& fileName, std::string& text)
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

    if (systemCodePageIsUtf8()) {
        // Bytes that are no UTF-8 become U+FFFD, as decoding would make them.
        text = bytes.isValidUtf8() ? bytes.toStdString() : QString::fromUtf8(bytes).toStdString();
    } else {
        QStringDecoder decoder(QStringConverter::System);
        text = QString(decoder.decode(bytes)).toStdString();
    }
    return std::nullopt;
}

std::optional<FileFailure> WriteBinaryFile(const QString& fileName, QByteArrayView bytes)
{
    return writeAtomically(fileName, [bytes](const Sink& write) {
        for (qsizetype pos = 0; pos < bytes.size(); pos += kChunk) {
            const QByteArrayView piece = bytes.sliced(pos, qMin(kChunk, bytes.size() - pos));
            if (!write(QByteArray::fromRawData(piece.data(), piece.size())))
                return false;
        }
        return true;
    });
}
