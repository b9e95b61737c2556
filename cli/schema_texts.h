// The words of qorcfg's schema for people: each row's help line and the meanings of the
// values that have no rule of the option block.
#pragma once

#include <string>
#include <string_view>

#include "model/key_assign.h"

// The help line of an option, of id, allowed_only or of a list, by its name.
const char* RowHelpText(std::string_view name);

std::string InputMethodHelp(int player);
// A key slot's action in both faces: "player 1's button for Attack/Skill 1 (攻撃・魔力技１)".
std::string KeySlotHelp(int player, const KeyRow& key);
std::string MessageTextHelp(int message);
std::string MessageTargetHelp(int message);

// By value: 0 and 1.
extern const char* const kInputMethodMeanings[2];
extern const char* const kTargetMeanings[2];
extern const char* const kOnOffMeanings[2];
