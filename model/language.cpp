// Choosing the face: the remembered choice first, then the Windows UI language.
#include "model/language.h"

Language ChooseLanguage(std::string_view stored, unsigned ui_language_id) {
    if (stored == "ja") return Language::kJapanese;
    if (stored == "en") return Language::kEnglish;
    // The primary language is the low ten bits; every Japanese locale shares it.
    const bool japanese = (ui_language_id & 0x3FF) == (kJapaneseLanguageId & 0x3FF);
    return japanese ? Language::kJapanese : Language::kEnglish;
}

const char* LanguageCode(Language language) { return language == Language::kEnglish ? "en" : "ja"; }
