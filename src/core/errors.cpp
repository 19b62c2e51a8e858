#include "core/errors.h"

#include <new>

namespace velmaro {

AmountOutOfRange::AmountOutOfRange() : OrderError("Amount out of range") {}

InOutError::InOutError(int code) : OrderError(InOutErrorMessage(code)), code_(code) {}

InOutError::InOutError(int code, const std::string& message) : OrderError(message), code_(code) {}

InOutError InOutError::System(int number)
{
    return InOutError(number, "I/O error " + std::to_string(number));
}

std::string InOutErrorMessage(int code)
{
    switch (code) {
    case 2:
        return "File not found";
    case 3:
        return "Invalid filename";
    case 4:
        return "Too many open files";
    case 5:
        return "File access denied";
    case 100:
        return "Read beyond end of file";
    case 101:
        return "Disk full";
    case 106:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

std::string ErrorMessage(const std::exception& error)
{
    if (dynamic_cast<const OrderError*>(&error))
        return error.what();
    // What a failed allocation throws, or a string or vector asked to grow past its maximum.
    if (dynamic_cast<const std::bad_alloc*>(&error) ||
        dynamic_cast<const std::length_error*>(&error))
        return "Not enough memory";
    return "The operation could not be completed";
}

std::string ErrorBoxText(std::string_view message)
{
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return text;
}

} // namespace velmaro
