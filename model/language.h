// The two faces the tool can show, and how the face is chosen. Portable.
#pragma once

#include <string_view>

#include "message/messages.h"

// The language identifier of Japanese (LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN).
inline constexpr unsigned kJapaneseLanguageId = 0x0411;

// The face to show: the remembered choice when there is one ("ja" or "en"); otherwise,
// or for any other stored text, Japanese exactly when the user's Windows UI language
// (its primary language) is Japanese.
Language ChooseLanguage(std::string_view stored, unsigned ui_language_id);

// The face a POSIX locale asks for: the first of LC_ALL, LC_MESSAGES and LANG that is set
// and not empty decides, Japanese exactly when it starts "ja" ("ja_JP.UTF-8", "ja");
// English when none is set. Null stands for a variable that is not set.
Language LocaleLanguage(const char* lc_all, const char* lc_messages, const char* lang);

// A face asked for by name, as QORCFG_LANG names it over every other choice: "ja" or
// "en", or a locale's name that starts so ("ja_JP.UTF-8"). False for null, empty or any
// other text, which leaves the choice to the system.
bool NamedLanguage(const char* name, Language& language);

// "ja" or "en", as the choice is remembered.
const char* LanguageCode(Language language);
