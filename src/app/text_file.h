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
        AccessDenied, // a read-only file or directory, or no right to open the file
        DiskFull,     // no space left, the file size limit reached, or a write that stopped
                      // part-way
        SystemError,  // anything else: systemError tells what
    };
    Kind kind = Kind::SystemError;
    // False when the file could not be created or opened (or not put in place afterwards);
    // true when it was created but writing into it failed.
    bool whileWriting = false;
    // The system's error number (errno, or the Windows error code); 0 when unknown.
    int systemError = 0;
};

// Replaces the file by the text, encoded in the system code page, with every "\n" of the text
// written as CR LF. The new content goes to a temporary file beside it that takes the file's
// place only when every byte is written, so a failure leaves the previous file exactly as it
// was. A file or directory whose write permission bits are all clear counts as read-only and is
// refused before anything is written. The text is encoded a piece at a time, so a long order
// needs no second copy of itself.
std::optional<FileFailure> WriteTextFile(const QString& fileName, QStringView text);

// The same for a text held as UTF-8 whose lines already end in CR LF.
std::optional<FileFailure> WriteUtf8TextFile(const QString& fileName, std::string_view utf8);

// Reads the whole file and decodes it from the system code page into UTF-8 `text`; `text` is
// left alone on failure.
std::optional<FileFailure> ReadUtf8TextFile(const QString& fileName, std::string& text);

// The same for bytes written as they are (a PDF, say), with the same refusals and guarantee.
std::optional<FileFailure> WriteBinaryFile(const QString& fileName, QByteArrayView bytes);
