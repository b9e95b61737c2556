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

// "ja" or "en", as the choice is remembered.
const char* LanguageCode(Language language);
