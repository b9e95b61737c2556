// The words of qorcfg's schema for people, in English.
#include "cli/schema_texts.h"

#include "cli/terminal_text.h"

namespace {

struct NamedHelp {
    const char* name;
    const char* help;
};

const NamedHelp kHelp[] = {
    {"screen_size", "the size of the game's window or screen"},
    {"full_screen", "the game fills the screen"},
    {"fps_60", "the frame rate"},
    {"barrier_near_character", "where the stage barrier is shown"},
    {"reduce_load", "lighter drawing for a slow PC"},
    {"screen_shake", "the screen shakes when a character is hit"},
    {"extra_option", "on no page; carried unchanged"},
    {"bgm_volume", "the music's volume"},
    {"se_volume", "the sound effects' volume"},
    {"voice_volume", "the voices' volume"},
    {"story_difficulty", "the story mode's difficulty"},
    {"movie_playback", "the movies are played"},
    {"run_when_inactive", "the game keeps running while its window is inactive"},
    {"loading_illustration", "what the loading screens show"},
    {"id", "the ID the game sends when it connects"},
    {"connect", "the addresses to connect to"},
    {"allowed_only", "only the allowed addresses may connect"},
    {"allowed", "the addresses that may connect while allowed_only is on"},
    {"denied", "the addresses that may not connect"},
};

std::string Player(int player) { return "player " + std::to_string(player + 1) + "'s "; }

std::string Key(int message) { return "F" + std::to_string(message + 1); }

}  // namespace

const char* RowHelpText(std::string_view name) {
    for (const NamedHelp& row : kHelp)
        if (name == row.name) return row.help;
    return "";
}

std::string InputMethodHelp(int player) { return Player(player) + "way of playing: the keyboard or a joypad"; }

std::string KeySlotHelp(int player, const KeyRow& key) {
    const std::string caption = Cp932ToUtf8(key.caption);
    if (caption.empty()) return Player(player) + "key slot " + std::to_string(key.slot) + ": " + key.action;
    return Player(player) + "button for " + key.action + " (" + caption + ")";
}

std::string MessageTextHelp(int message) { return "the chat message that " + Key(message) + " sends"; }

std::string MessageTargetHelp(int message) { return "who the chat message of " + Key(message) + " goes to"; }

const char* const kInputMethodMeanings[2] = {"joypad", "keyboard"};
const char* const kTargetMeanings[2] = {"everyone", "own team"};
const char* const kOnOffMeanings[2] = {"off", "on"};
