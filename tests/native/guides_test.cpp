// The players' guides explain every message box the window can show, each guide in its
// own face's words, in its troubleshooting section: a new message without an entry
// fails here. The guides live with the sources, which only the native tests can reach.
#ifdef QOR_SOURCE_DIR
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "cli/terminal_text.h"
#include "cli/schema.h"
#include "cli/texts.h"
#include "message/messages.h"
#include "support/qorcfg_run.h"

namespace {

// The text with its line breaks and indents as the guide's lines wrap it: English words
// keep one space between them; Japanese, which wraps anywhere, keeps none.
std::string Unwrapped(const std::string& text, bool keep_spaces) {
    std::string out;
    bool space = false;
    for (char ch : text) {
        if (ch == ' ' || ch == '\n' || ch == '\r') {
            space = true;
            continue;
        }
        if (space && keep_spaces && !out.empty()) out += ' ';
        space = false;
        out += ch;
    }
    return out;
}

// The troubleshooting section of a guide: from its heading to the next one.
std::string Troubleshooting(const char* guide, const std::string& heading, bool keep_spaces) {
    std::ifstream in(std::string(QOR_SOURCE_DIR) + "/package/" + guide, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t start = text.find(heading + "\n---");
    const std::size_t end = text.find("\nLinux / Steam Deck\n", start);
    if (start == std::string::npos || end == std::string::npos) return {};
    return Unwrapped(text.substr(start, end - start), keep_spaces);
}

TEST(Guides, EveryMessageBoxIsExplainedInBothGuides) {
    const std::string english = Troubleshooting("README-en.txt", "Troubleshooting", true);
    const std::string japanese = Troubleshooting("README-ja.txt", testing_support::Utf8(u8"困ったとき"), false);
    ASSERT_FALSE(english.empty());
    ASSERT_FALSE(japanese.empty());
    int boxes = 0;
    for (const MessageText& row : message_texts) {
        if (row.kind != MessageKind::kBox) continue;
        ++boxes;
        const std::string in_english = "\"" + Unwrapped(row.english, true) + "\"";
        const std::string in_japanese = testing_support::Utf8(u8"「") + Unwrapped(Cp932ToUtf8(row.japanese), false) +
                                        testing_support::Utf8(u8"」");
        EXPECT_NE(english.find(in_english), std::string::npos) << "README-en.txt lacks " << in_english;
        EXPECT_NE(japanese.find(in_japanese), std::string::npos) << "README-ja.txt lacks " << in_japanese;
    }
    EXPECT_EQ(boxes, 23);
}

// Where a guide quotes qorcfg, it quotes what qorcfg says in the guide's own face.
TEST(Guides, QorcfgIsQuotedInEachGuidesFace) {
    auto guide = [](const char* name, bool keep_spaces) {
        std::ifstream in(std::string(QOR_SOURCE_DIR) + "/package/" + name, std::ios::binary);
        return Unwrapped({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}, keep_spaces);
    };
    const std::string english = guide("README-en.txt", true), japanese = guide("README-ja.txt", false);
    const Language ja = Language::kJapanese;
    const std::string refused =
        SayIn(ja, CliText::kValueIsNot,
              {"story_difficulty", ValueSetText(*FindValueRow("story_difficulty"), ja), "Hardd"});
    const struct {
        bool in_english;
        std::string said;
    } quotes[] = {
        {true, SayIn(Language::kEnglish, CliText::kHeldNotSaved)},
        {false, SayIn(ja, CliText::kHeldNotSaved)},
        {false, SayIn(ja, CliText::kNothingChangedAfter, {refused})},
    };
    for (const auto& quote : quotes) {
        const std::string said = Unwrapped(quote.said, quote.in_english);
        EXPECT_NE((quote.in_english ? english : japanese).find(said), std::string::npos) << said;
    }
}

}  // namespace
#endif
