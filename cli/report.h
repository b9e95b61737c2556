// What qorcfg prints about a configuration: the fields in readable form (text and JSON)
// and the findings of a check. All text returned is UTF-8.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "config/game_config.h"
#include "model/language.h"

// Facts about the file that the record alone does not hold.
struct FileFacts {
    std::string path;          // UTF-8, as given
    std::size_t size;
    std::uint16_t version;
};

class JsonOut;

std::string ShowText(const GameConfig& config, const FileFacts& facts);
void ShowJson(const GameConfig& config, const FileFacts& facts, JsonOut& out);
// About as many bytes as ShowJson writes.
std::size_t ShowJsonSize(const GameConfig& config);

// The findings of a check of a file that decoded: what the tool will do with it that
// differs from reading it back byte for byte. Each is one line of plain words in `face`
// (check --json's findings are English in either face: scripts read them).
std::vector<std::string> CheckFindings(std::span<const std::uint8_t> bytes, const GameConfig& config, Language face);
