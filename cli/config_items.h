// The single values of the configuration, one row each: the options, allowed-only, the
// connect-to ID, each player's input method and key slots, and each chat macro's text
// and target. `set`, `apply` and `diff` all walk this table, so a value is named, read,
// checked and stored in one place, by the name that `show` prints.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/game_config.h"
#include "model/option_rules.h"

enum class ItemKind {
    kOption,         // a field of the option block with its rule
    kAllowedOnly,    // on or off
    kConnectId,      // CP932 text, kConnectIdTextMax bytes
    kInputMethod,    // 0 joypad, 1 keyboard; per player
    kKeySlot,        // a joypad button 0 to 11; per player and slot
    kMessageText,    // CP932 text, kMessageTextLimit bytes; per message
    kMessageTarget,  // 0 everyone, 1 own team; per message
};

struct ConfigItem {
    std::string name;            // as `set` and `diff` name it, e.g. "player1.key_map.3"
    ItemKind kind;
    const OptionRule* rule;      // kOption
    int index;                   // the player (0, 1) or message (0 to 7)
    int slot;                    // kKeySlot: the key map's slot
    std::uint16_t since;         // the first file version that holds it (0: every version)
};

// Every item, in the order `show` prints them.
std::span<const ConfigItem> ConfigItems();

// The item of a name, matched without regard to case and with "-" for "_"; null when
// there is none.
const ConfigItem* FindConfigItem(std::string_view name);

// A value of an item: a number as stored, or a text (UTF-8, as `show` prints it, with
// its CP932 bytes once checked).
struct ItemValue {
    bool is_text = false;
    std::int64_t number = 0;
    std::string text;
    std::string cp932;
};

ItemValue ItemValueOf(const GameConfig& config, const ConfigItem& item);
bool SameItemValue(const ItemValue& a, const ItemValue& b);

// The words of the input method and of a message's target, which show prints too.
const char* InputMethodMeaning(std::int32_t method);
const char* MessageTargetMeaning(std::uint8_t target);

// What the window shows for a value, in words ("1024x768", "on", "KEY 4"); a text's
// meaning is the text.
std::string ItemMeaning(const ConfigItem& item, const ItemValue& value);

// The value as one line names it: `2 (1024x768)`, or a text in quotes.
std::string ItemValueText(const ConfigItem& item, const ItemValue& value);

// The item's value set in words, for the message that refuses a value outside it.
std::string ItemValueSet(const ConfigItem& item);

// Reads a value typed as text: the stored number, or the meaning `show` prints (in any
// case; on/off items also take yes/no/true/false/1/0). False with `error` naming the set.
bool ParseItemValue(const ConfigItem& item, std::string_view text, ItemValue& value, std::string& error);

// Checks a number or text against the item's set (and fills a text's CP932 bytes). A
// value equal to `current` is always accepted: it changes nothing.
bool CheckItemValue(const ConfigItem& item, ItemValue& value, const ItemValue& current, std::string& error);

// Stores a checked value. A text is stored with its NUL; the bytes after the NUL keep
// theirs, as the window's save leaves them.
void StoreItemValue(GameConfig& config, const ConfigItem& item, const ItemValue& value);
