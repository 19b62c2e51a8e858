#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

// The program's text files (order.qzo, outwin.txt): texts in the system's 8-bit code page
// (the ANSI code page on Windows, the locale's encoding elsewhere), named relative to the working
// directory, lines ending in CR LF.

// Why a file could not be written or read, in terms each caller turns into its own message.
struct FileFailure {
    enum class Kind {
        NotFound,     // reading a file that is not there
        BadName,      // a name or path the system cannot use
        TooManyFiles, // no file handle left
        AccessDenied, // a read-only file or directory, no right to open the file, or something
                      // other than a regular file at the name
        DiskFull,     // no space left, the quota or file size limit reached, or a write that
                      // stopped part-way
        TooLarge,     // reading a file larger than the reader's bound
        SystemError,  // anything else: systemError tells what
    };
    Kind kind = Kind::SystemError;
    // False when the file could not be created or opened (or not put in place afterwards);
    // true when it was created but writing into it failed, at a write or at the final flush.
    bool whileWriting = false;
    // The system's error number (errno, or the Windows error code); 0 when unknown.
    int systemError = 0;
};

// Replaces the file by the text, encoded in the system code page, with every "\n" of the text
// written as CR LF. The new content goes to a temporary file beside it that takes the file's
// place only when every byte is written. Where the directory cannot take a new file but the
// file itself is writable, the file is overwritten in place instead, so a failure may leave it
// incomplete. A file or directory whose write permission bits are all clear counts as
// read-only, and anything other than a regular file at the name, or at the end of a link, is
// refused without being touched. The text is encoded a piece at a time, so a long order needs no
// second copy of itself.
std::optional<FileFailure> WriteTextFile(const QString& fileName, QStringView text);

// A text held as UTF-8 whose lines already end in CR LF, written in the system code page through
// a temporary file only: a failure leaves the previous file exactly as it was, and a read-only
// file or directory is refused before anything is written.
std::optional<FileFailure> WriteUtf8TextFile(const QString& fileName, std::string_view utf8);

// Bytes written as they are (a PDF, say), with the same refusals and guarantee.
std::optional<FileFailure> WriteBinaryFile(const QString& fileName, QByteArrayView bytes);

// The same for a file only its owner may read and write (mode 0600 where the system has modes),
// also when it replaces one with wider rights.
std::optional<FileFailure> WritePrivateFile(const QString& fileName, QByteArrayView bytes);

// Reads the whole file and decodes it from the system code page into UTF-8 `text`; `text` is
// left alone on failure. Only a regular file is read: anything else at the name is refused as
// AccessDenied without being opened for reading, so a pipe cannot block and a device cannot
// fill the memory. A file of more than maxBytes is refused as TooLarge before it is read.
// Where the system code page is UTF-8, or the file starts with UTF-8's byte-order mark, lines
// that are no valid UTF-8 are taken for lines written on Windows and read as Windows-1252; the
// mark itself is dropped.
std::optional<FileFailure> ReadUtf8TextFile(const QString& fileName, std::string& text,
                                            qint64 maxBytes);

// A seam for tests: while not 0, every write into a file fails with this system error number
// (ENOSPC for a full disk, say) as the system would fail it, for faults that a test machine
// cannot make for real. 0 lets writes through again.
void SetWriteErrorForTesting(int systemError);
