// What qorcfg names, one row each, in the order `show` prints them: every value a host
// can name (its name, its JSON path, its value forms, its help), each address list, and
// the facts about the file that `show` prints beside them. show (text and JSON), set,
// apply, diff, check, `help fields` and completion all walk these rows, so that what
// the tool prints is what it takes. The file's own layout stays in config/.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/game_config.h"
#include "model/language.h"
#include "model/address_lists.h"
#include "model/key_assign.h"
#include "model/option_rules.h"

enum class RowKind {
    kValue,  // a single value that set takes
    kList,   // an address list, which the list commands and apply take whole
    kFact,   // what describes the file rather than configures it: shown, never applied
};

enum class ValueKind {
    kOption,         // a field of the option block with its rule
    kAllowedOnly,    // on or off
    kConnectId,      // CP932 text, kConnectIdTextMax bytes
    kInputMethod,    // 0 joypad, 1 keyboard; per player
    kKeySlot,        // a joypad button 0 to 11; per player and slot
    kMessageText,    // CP932 text, kMessageTextLimit bytes; per message
    kMessageTarget,  // 0 everyone, 1 own team; per message
};

enum class FactKind {
    kFile,           // the path shown
    kSize,           // the file's size in bytes
    kVersion,        // the file's format version
    kPlayer,         // which player an entry of "players" is: it picks the entry
    kKeys,           // a player's key page, row by row, with the labels the map shows
    kMessageKey,     // which key an entry of "messages" is: it picks the entry
    kOpaqueRecords,  // the records carried unchanged
    kOpaqueWords,    // the two words carried unchanged
};

// One step of a JSON path: a member's name, or an element's index.
struct JsonStep {
    std::string name;  // empty for an element
    int index = -1;
};

struct SchemaRow {
    RowKind row;
    std::string path;             // below the root: "options.screen_size", "players[0].key_map[3]"
    std::vector<JsonStep> steps;  // the same, step by step
    std::string name;             // as set, diff and show name it: "player1.key_map.3", "denied"
    std::string alias;            // a key slot's action: "player1.attack"; else empty
    ValueKind kind = ValueKind::kOption;
    const OptionRule* rule = nullptr;  // kOption
    int index = 0;                // the player (0, 1) or message (0 to 7)
    int slot = 0;                 // kKeySlot: the key map's slot
    const KeyRow* key = nullptr;  // kKeySlot: the slot's row of the key page
    std::uint16_t since = 0;      // the first file version that holds it (0: every version)
    AddressList list = AddressList::kDenied;  // kList
    FactKind fact = FactKind::kFile;          // kFact
};

// A value's or a list's line for `help fields`, in a face.
std::string RowHelp(const SchemaRow& row, Language face);

// Every row, in the order `show` prints them.
std::span<const SchemaRow> SchemaRows();

// The document that `show --json` prints and apply reads, as a tree of the rows' paths:
// an object holds its members, an array its elements, each in the order of the rows.
struct ShapeNode {
    enum Kind { kObject, kArray, kRow } kind = kObject;
    std::string name;                 // a member's name; empty for an element and the root
    const SchemaRow* row = nullptr;   // kRow
    std::vector<ShapeNode> children;  // an object's members, an array's elements
};
const ShapeNode& DocumentShape();

// The value row of a name or a key slot's alias, matched without regard to case and
// with "-" for "_"; null when there is none.
const SchemaRow* FindValueRow(std::string_view name);

// The row at a JSON path ("players[1].input_method"); null when there is none.
const SchemaRow* RowAtPath(std::string_view path);

// The name show, diff and check print: a key slot's alias where it has one.
inline const std::string& ShownName(const SchemaRow& row) { return row.alias.empty() ? row.name : row.alias; }

// The names set takes, aliases included, for suggestions and completion.
std::vector<std::string> ValueNames();

// A value of a row: a number as stored, or a text (UTF-8, as `show` prints it, with its
// CP932 bytes once checked).
struct ItemValue {
    bool is_text = false;
    std::int64_t number = 0;
    std::string text;
    std::string cp932;
};

bool IsTextRow(const SchemaRow& row);
bool IsOnOffRow(const SchemaRow& row);

ItemValue ValueOf(const GameConfig& config, const SchemaRow& row);
bool SameValue(const ItemValue& a, const ItemValue& b);

// What the window shows for a value, in words ("1024x768", "on", "KEY 4"); a text's
// meaning is the text. The JSON's meanings are the English face's, whatever the face.
std::string Meaning(const SchemaRow& row, const ItemValue& value, Language face = Language::kEnglish);

// The value as one line names it for people: `2 (1024x768)`, or a text in quotes.
std::string ValueText(const SchemaRow& row, const ItemValue& value, Language face);

// The row's value set in words, for `help fields` and the message that refuses a value
// outside it.
std::string ValueSetText(const SchemaRow& row, Language face);

// The words a value may be typed as, for completion: the numbers of a small set with
// their meanings (and on/off, yes/no, true/false for an on/off value), a key slot's
// buttons, a volume's ends. Empty for a text.
std::vector<std::string> ValueWords(const SchemaRow& row);

// Whether the window would keep the value as it is, and what its next save stores.
bool InValueSet(const SchemaRow& row, std::int64_t number);
std::int64_t SavedValue(const SchemaRow& row, std::int64_t number);

// Reads a value typed as text: the stored number, or the meaning `show` prints in either
// face (the English in any case; on/off values also take yes/no/true/false). False with
// `error` naming the set.
bool ParseValue(const SchemaRow& row, std::string_view text, ItemValue& value, std::string& error);

// Checks a number or text against the row's set (and fills a text's CP932 bytes). A
// value equal to `current` is always accepted: it changes nothing.
bool CheckValue(const SchemaRow& row, ItemValue& value, const ItemValue& current, std::string& error);

// Stores a checked value. A text is stored with its NUL; the bytes after the NUL keep
// theirs, as the window's save leaves them.
void StoreValue(GameConfig& config, const SchemaRow& row, const ItemValue& value);

// Text of a fixed-size CP932 field as the window shows it: up to the first NUL, never
// past the field, cut at a character boundary to `shown` bytes.
std::string FieldText(const char* field, std::size_t field_size, std::size_t shown);

// The bytes of the connect-to ID the window shows, in its single-line edit: up to the
// first NUL, never past the field, and up to the first line break (an ID pasted whole
// by an older build), since the edit shows no more and its save stores what it shows.
std::size_t ShownIdBytes(const GameConfig& config);
