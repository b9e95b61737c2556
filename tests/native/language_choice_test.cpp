// Which face the tool starts with, and the English forms of the texts it shows at run time.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "ui/english_texts.h"
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

// Messages are found by their Japanese bytes, so two alike would hide one another, and
// an English text outside ASCII would not show in every font.
TEST(LanguageChoice, EveryRunTimeTextHasOneAsciiEnglishForm) {
    std::set<std::string> japanese;
    for (std::size_t i = 0; i < english_phrase_count; ++i) {
        const Phrase& p = english_phrases[i];
        EXPECT_TRUE(japanese.insert(p.japanese).second) << p.english;
        for (const char* c = p.english; *c; ++c) EXPECT_LT(static_cast<unsigned char>(*c), 0x80) << p.english;
        EXPECT_STREQ(EnglishPhrase(p.japanese), p.english);
    }
    EXPECT_EQ(EnglishPhrase("not a message"), nullptr);
}

}  // namespace
