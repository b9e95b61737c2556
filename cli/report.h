// What qorcfg prints about a configuration: the fields in readable form (text and JSON)
// and the findings of a check. All text returned is UTF-8.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/game_config.h"

// One option of the option block as the window shows it.
struct OptionView {
    const char* name;          // the field's name
    std::int32_t value;        // as stored
    std::string meaning;       // as the window shows it
    bool in_set;               // the value lies in the field's value set
    std::int32_t saved_as;     // what the window's next save stores
};
std::vector<OptionView> OptionViews(const OptionBlock& options);

// Facts about the file that the record alone does not hold.
struct FileFacts {
    std::string path;          // UTF-8, as given
    std::size_t size;
    std::uint16_t version;
};

std::string ShowText(const GameConfig& config, const FileFacts& facts);
std::string ShowJson(const GameConfig& config, const FileFacts& facts);

// A JSON string literal (with its quotes) of UTF-8 text.
void AppendJsonString(std::string& out, std::string_view utf8);

// The findings of a check of a file that decoded: what the tool will do with it that
// differs from reading it back byte for byte. Each is one line of plain words.
std::vector<std::string> CheckFindings(std::span<const std::uint8_t> bytes, const GameConfig& config);

// Text of a fixed-size CP932 field as the window shows it: up to the first NUL, never
// past the field, cut at a character boundary to `shown` bytes.
std::string FieldText(const char* field, std::size_t field_size, std::size_t shown);

// The bytes of the connect-to ID the window shows, in its single-line edit: up to the
// first NUL, never past the field, and up to the first line break (an ID pasted whole
// by an older build), since the edit shows no more and its save stores what it shows.
std::size_t ShownIdBytes(const GameConfig& config);
