// Choosing the face: on Windows the remembered choice first, then the Windows UI
// language; on POSIX systems the locale's variables; over both, a face named outright.
#include "model/language.h"

#include <initializer_list>

Language ChooseLanguage(std::string_view stored, unsigned ui_language_id) {
    if (stored == "ja") return Language::kJapanese;
    if (stored == "en") return Language::kEnglish;
    // The primary language is the low ten bits; every Japanese locale shares it.
    const bool japanese = (ui_language_id & 0x3FF) == (kJapaneseLanguageId & 0x3FF);
    return japanese ? Language::kJapanese : Language::kEnglish;
}

Language LocaleLanguage(const char* lc_all, const char* lc_messages, const char* lang) {
    for (const char* name : {lc_all, lc_messages, lang})
        if (name != nullptr && *name != '\0')
            return std::string_view(name).starts_with("ja") ? Language::kJapanese : Language::kEnglish;
    return Language::kEnglish;
}

bool NamedLanguage(const char* name, Language& language) {
    const std::string_view text = name != nullptr ? name : "";
    if (text.starts_with("ja")) return language = Language::kJapanese, true;
    if (text.starts_with("en")) return language = Language::kEnglish, true;
    return false;
}

const char* LanguageCode(Language language) { return language == Language::kEnglish ? "en" : "ja"; }
