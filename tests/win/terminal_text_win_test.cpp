// What qorcfg writes to a file or a pipe on Windows: the text in the console's code page
// where that holds it, and UTF-8 where it does not, so that no message (a Japanese one
// under a Western code page, say) turns into question marks.
#include <gtest/gtest.h>

#include <string>

#include "cli/terminal_text.h"

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(RedirectedText, TheConsoleCodePageWhereItHoldsTheTextElseUtf8) {
    const struct {
        std::string text;
        unsigned code_page;
        std::string written;
    } rows[] = {
        {"nothing changed", 437, "nothing changed"},
        {Utf8(u8"\u5909\u66F4"), 932, "\x95\xCF\x8D\x58"},  // 変更 in CP932
        {Utf8(u8"\u5909\u66F4"), 437, Utf8(u8"\u5909\u66F4")},
        {Utf8(u8"\u5909\u66F4"), 65001, Utf8(u8"\u5909\u66F4")},
        {Utf8(u8"\u5909\u66F4"), 0, Utf8(u8"\u5909\u66F4")},
        {Utf8(u8"caf\u00E9"), 1252, "caf\xE9"},
        {Utf8(u8"caf\u00E9 \u5909"), 1252, Utf8(u8"caf\u00E9 \u5909")},  // never half converted
    };
    for (const auto& row : rows) EXPECT_EQ(RedirectedText(row.text, row.code_page), row.written) << row.code_page;
}

}  // namespace
