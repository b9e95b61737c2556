// Which face the tool starts with, and the English forms of the texts it shows at run time.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "message/messages.h"
#include "model/language.h"

namespace {

TEST(LanguageChoice, RememberedChoiceFirstThenTheWindowsLanguage) {
    const struct {
        const char* stored;
        unsigned ui_language;
        Language expected;
    } cases[] = {
        {"ja", 0x0409, Language::kJapanese},  // remembered over an English Windows
        {"en", 0x0411, Language::kEnglish},   // remembered over a Japanese Windows
        {"", 0x0411, Language::kJapanese},
        {"", 0x0409, Language::kEnglish},
        {"", 0x0809, Language::kEnglish},     // English (United Kingdom)
        {"", 0x0407, Language::kEnglish},     // German: not Japanese, so English
        {"", 0x0000, Language::kEnglish},
        {"JA", 0x0409, Language::kEnglish},   // only the two exact codes count
        {"english", 0x0411, Language::kJapanese},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseLanguage(c.stored, c.ui_language), c.expected) << c.stored << " " << c.ui_language;
    EXPECT_STREQ(LanguageCode(Language::kJapanese), "ja");
    EXPECT_STREQ(LanguageCode(Language::kEnglish), "en");
}

// One row per identifier, in identifier order, each with both texts: the English one in
// ASCII, which every font shows.
TEST(LanguageChoice, EveryRunTimeTextHasItsRowAndAnAsciiEnglishForm) {
    std::set<std::string> japanese;
    for (std::size_t i = 0; i < kMessageCount; ++i) {
        const MessageText& row = message_texts[i];
        EXPECT_EQ(static_cast<std::size_t>(row.id), i) << row.english;
        EXPECT_TRUE(japanese.insert(row.japanese).second) << row.english;
        EXPECT_GT(std::strlen(row.english), 0u) << i;
        for (const char* c = row.english; *c; ++c) EXPECT_LT(static_cast<unsigned char>(*c), 0x80) << row.english;
    }
    // A text by its identifier, in each face, for rows at the start, the middle and the end.
    const struct {
        MessageId id;
        const char* japanese;
        const char* english;
    } texts[] = {
        {MessageId::kConfigUnreadableCreating, "コンフィグファイルが読み込めませんでした\n新規作成します",
         "The config file could not be read.\nA new one will be created."},
        {MessageId::kCapturing, "変更中", "Press"},
        {MessageId::kBackupUnreadable, "前回の保存前のファイルが読み込めませんでした",
         "The file from before the last save could not be read."},
    };
    for (const auto& t : texts) {
        EXPECT_STREQ(MessageIn(t.id, Language::kJapanese), t.japanese);
        EXPECT_STREQ(MessageIn(t.id, Language::kEnglish), t.english);
    }
}

}  // namespace
