// Replays the fuzzer's kept inputs for the order-file parser in the ordinary test run.
#include "order_file_check.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(OrderFileCorpus, EveryKeptInputHoldsUp)
{
    const std::filesystem::path corpus = std::filesystem::path(ORDER_SOURCE_DIR) / "fuzz/corpus";
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (!entry.is_regular_file())
            continue;
        ++inputs;
        EXPECT_TRUE(velmaro::OrderFileHoldsUp(readAll(entry.path()))) << entry.path();
    }
    EXPECT_GE(inputs, 5);
}

TEST(OrderFileCorpus, SmallEdgeInputsHoldUp)
{
    // A count that is no number, an empty file, a file of one row and one address cell, and
    // one that is no UTF-8 (overlong, surrogate, Windows-1252, cut short).
    EXPECT_TRUE(velmaro::OrderFileHoldsUp("abc\r\n"));
    EXPECT_TRUE(velmaro::OrderFileHoldsUp("1\r\n\xc0\xaf\xed\xa0\x80\nM\xfcller \x80\x81\xc3"));
    EXPECT_TRUE(velmaro::OrderFileHoldsUp(""));
    EXPECT_TRUE(velmaro::OrderFileHoldsUp("1\r\n\r\n\r\n\r\n\r\n\r\n1\r\n\r\n\r\n"));
}
