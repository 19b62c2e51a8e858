#pragma once

#include <QString>

#include <optional>

// The program's text files (order.qzo, outwin.txt): texts in the system's 8-bit code page
// (the ANSI code page on Windows, the locale's encoding elsewhere), named relative to the working
// directory. The callers put the CR LF line ends into the text themselves.

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

// Replaces the file by the text, encoded in the system code page. The new content goes to a
// temporary file beside it that takes the file's place only when every byte is written, so a
// failure leaves the previous file exactly as it was. A file or directory whose write
// permission bits are all clear counts as read-only and is refused before anything is written.
std::optional<FileFailure> WriteTextFile(const QString& fileName, const QString& text);

// Reads the whole file and decodes it from the system code page into `text`; `text` is left
// alone on failure.
std::optional<FileFailure> ReadTextFile(const QString& fileName, QString& text);
