// The words of qorcfg's schema for people: each row's help line, and the meanings of
// the values in each face.
#include "cli/schema_texts.h"

#include <algorithm>
#include <cctype>

#include "cli/schema.h"
#include "cli/terminal_text.h"
#include "cli/texts.h"

namespace {

struct NamedHelp {
    const char* name;
    CliText help;
};

const NamedHelp kHelp[] = {
    {"screen_size", CliText::kRowScreenSize},
    {"full_screen", CliText::kRowFullScreen},
    {"fps_60", CliText::kRowFps60},
    {"barrier_near_character", CliText::kRowBarrier},
    {"reduce_load", CliText::kRowReduceLoad},
    {"screen_shake", CliText::kRowScreenShake},
    {"extra_option", CliText::kRowExtraOption},
    {"bgm_volume", CliText::kRowBgmVolume},
    {"se_volume", CliText::kRowSeVolume},
    {"voice_volume", CliText::kRowVoiceVolume},
    {"story_difficulty", CliText::kRowDifficulty},
    {"movie_playback", CliText::kRowMovie},
    {"run_when_inactive", CliText::kRowInactive},
    {"loading_illustration", CliText::kRowLoading},
    {"id", CliText::kRowId},
    {"connect", CliText::kRowConnect},
    {"allowed_only", CliText::kRowAllowedOnly},
    {"allowed", CliText::kRowAllowed},
    {"denied", CliText::kRowDenied},
};

std::string NamedRowHelp(std::string_view name, Language face) {
    for (const NamedHelp& row : kHelp)
        if (name == row.name) return SayIn(face, row.help);
    return "";
}

}  // namespace

std::string RowHelp(const SchemaRow& row, Language face) {
    const int player = row.index + 1;
    switch (row.row == RowKind::kList ? ValueKind::kOption : row.kind) {
        case ValueKind::kInputMethod: return SayIn(face, CliText::kRowInputMethod, {player});
        case ValueKind::kKeySlot: {
            const std::string caption = Cp932ToUtf8(row.key->caption);
            if (caption.empty()) return SayIn(face, CliText::kRowKeySlotOnNoPage, {player, row.slot, SlotAction(*row.key, face)});
            return SayIn(face, CliText::kRowKeySlot, {player, row.key->action, caption});
        }
        case ValueKind::kMessageText: return SayIn(face, CliText::kRowMessageText, {row.index + 1});
        case ValueKind::kMessageTarget: return SayIn(face, CliText::kRowMessageTarget, {row.index + 1});
        default: return NamedRowHelp(row.name, face);
    }
}

bool SliderWords(std::string_view text, Language face, std::string_view& position) {
    // The face's text around its one value, marked by a byte no text holds.
    const std::string slider = SayIn(face, CliText::kMeaningSlider, {"\x01"});
    const std::size_t mark = slider.find('\x01');
    const std::string_view head = std::string_view(slider).substr(0, mark), tail = std::string_view(slider).substr(mark + 1);
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    };
    if (mark == std::string::npos || text.size() <= head.size() + tail.size() || !same(text.substr(0, head.size()), head) ||
        !same(text.substr(text.size() - tail.size()), tail))
        return false;
    position = text.substr(head.size(), text.size() - head.size() - tail.size());
    return true;
}

std::string FaceMeaning(std::string_view english, Language face) {
    if (face == Language::kEnglish) return std::string(english);
    if (std::string word = FaceWord(english, CliText::kMeaningOff, CliText::kMeaningLoadingAll, face); word != english)
        return word;
    if (std::string_view position; SliderWords(english, Language::kEnglish, position))
        return SayIn(face, CliText::kMeaningSlider, {position});
    return FaceWord(english, CliText::kMeaningCarried, CliText::kMeaningCarried, face);
}

std::string SlotAction(const KeyRow& key, Language face) {
    return FaceWord(key.action, CliText::kSlotOnNoPage, CliText::kSlotOnNoPage, face);
}

const char* const kInputMethodMeanings[2] = {"joypad", "keyboard"};
const char* const kTargetMeanings[2] = {"everyone", "own team"};
const char* const kOnOffMeanings[2] = {"off", "on"};
