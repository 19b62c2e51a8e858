#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace velmaro {

// An error that ends the current event: the window's handler catches it and shows its message
// in the error box, and everything done before it stays done.
class OrderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An amount that would leave the range Money can hold.
class AmountOutOfRange : public OrderError {
public:
    AmountOutOfRange();
};

// A file input/output error with its run-time error code (2 file not found, 5 access denied,
// 101 disk full, 106 invalid numeric input, or the system's error number).
class InOutError : public OrderError {
public:
    explicit InOutError(int code);
    // An error of the system that none of the codes above describes: "I/O error 5" for EIO,
    // even though 5 is also the code for access denied.
    static InOutError System(int number);
    int code() const { return code_; }

private:
    InOutError(int code, const std::string& message);
    int code_;
};

// The message for an input/output error code: "File access denied" for 5, "I/O error 32"
// for a code without a text of its own.
std::string InOutErrorMessage(int code);

// What the error box says for an exception: an OrderError's own message, and a plain text for
// anything else, never the name of a type from inside the program.
std::string ErrorMessage(const std::exception& error);

// The text of the error box: the message with a "." added when its last character sorts
// after "." ("Disk full" -> "Disk full.", "Error 1." stays as it is).
std::string ErrorBoxText(std::string_view message);

} // namespace velmaro
