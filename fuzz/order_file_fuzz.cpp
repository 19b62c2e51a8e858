// Coverage-guided fuzzing of the order file's decoding and parsing (libFuzzer; see
// fuzz/README.md).
#include "order_file_check.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!velmaro::OrderFileHoldsUp(bytes))
        std::abort();
    return 0;
}
