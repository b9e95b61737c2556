// The words of qorcfg's schema for people: the meanings of the values that have no rule
// of the option block, as the JSON names them (English), and their faces' words.
#pragma once

#include <string>
#include <string_view>

#include "model/key_assign.h"
#include "model/language.h"

// By value: 0 and 1.
extern const char* const kInputMethodMeanings[2];
extern const char* const kTargetMeanings[2];
extern const char* const kOnOffMeanings[2];

// The N of a volume's meaning as `face` says it ("slider at N of 10000", without regard
// to case): false when `text` is no such meaning.
bool SliderWords(std::string_view text, Language face, std::string_view& position);

// A value's meaning as the JSON names it ("Hard", "own team", "slider at 8400 of 10000")
// in `face`'s words; the meaning as it stands when no face has a word for it.
std::string FaceMeaning(std::string_view english, Language face);

// What a key slot does, in a face: the slot on no page says so in the face's words.
std::string SlotAction(const KeyRow& key, Language face);
