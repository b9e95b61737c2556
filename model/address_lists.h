// The record's three address lists as both front ends edit them: what each holds, what
// an empty connect-to slot is, the duplicate rule, and adding, removing and storing
// entries. The window's pages, its address dialog, qorcfg and its check all ask here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "config/game_config.h"
#include "model/address_text.h"

enum class AddressList { kConnect, kDenied, kAllowed };

struct AddressListRules {
    AddressList list;
    const char* name;          // as qorcfg names the list
    std::size_t capacity;      // 24 connect-to slots, or what a 16-bit count can say
    bool wildcard_allowed;     // "*" may stand for an octet
    bool zero_is_empty;        // 0.0.0.0 marks an empty slot, so it is never an entry
};
// The connect-to list's ID has its limit beside its cut, kConnectIdTextMax in
// model/address_text.h.

// In the order of the pages: connect-to, denied, allowed.
extern const AddressListRules address_lists[3];

inline const AddressListRules& ListRules(AddressList list) { return address_lists[static_cast<int>(list)]; }

// "denied", "allowed" or "connect"; false for any other name.
bool ParseListName(std::string_view name, AddressList& list);
const char* ListName(AddressList list);
std::size_t ListCapacity(AddressList list);

// Whether `entry` is what an empty slot of the list holds (and therefore never an entry).
// Inline: a list's reading asks it of every entry.
inline bool IsEmptySlot(AddressList list, const AddressPattern& entry) {
    const std::uint16_t* o = entry.octets;
    return ListRules(list).zero_is_empty && (o[0] | o[1] | o[2] | o[3]) == 0;
}
AddressPattern ConnectEntry(const ConnectAddress& slot);

// An octet of list text: one to three ASCII decimal digits (leading zeros allowed) of at
// most 255, or "*" (the wildcard 256) where `wildcard_allowed`. Anything else, longer
// text included, is no octet.
std::optional<std::uint16_t> ReadOctet(std::string_view text, bool wildcard_allowed);

// What the user typed in one octet field of the address dialog, as the edit holds it in
// UTF-16, read as ReadOctet reads it but from its first three characters only. Only the
// ASCII digits 0 to 9 are digits (a full-width digit is not, whatever the system's code
// page would make of it).
std::optional<std::uint16_t> ReadOctetField(std::wstring_view field, bool wildcard_allowed);

// The stored form compared and shown: an octet above 255 is the wildcard.
AddressPattern NormalisedPattern(AddressPattern pattern);
bool SamePattern(const AddressPattern& a, const AddressPattern& b);
// The normalised pattern as one number, equal exactly for the same patterns: four
// octets of 0 to 256 (the wildcard) in 9 bits each. Inline: the duplicate rule takes
// it a few times for each of up to 65535 entries.
inline std::uint64_t PatternKey(const AddressPattern& pattern) {
    // Each octet on its own, not one after another into the key: the four are then worked
    // out side by side.
    auto octet = [&](int i) -> std::uint64_t { return pattern.octets[i] > 255 ? kWildcardOctet : pattern.octets[i]; };
    return octet(0) << 27 | octet(1) << 18 | octet(2) << 9 | octet(3);
}

// Whether two lists hold the same patterns in the same order.
inline bool SamePatterns(const std::vector<AddressPattern>& a, const std::vector<AddressPattern>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (PatternKey(a[i]) != PatternKey(b[i])) return false;
    return true;
}

// The list's entries as the window shows them, in stored order (the connect-to list
// without its empty slots).
std::vector<AddressPattern> ListEntries(const GameConfig& config, AddressList list);
// The same entries without copying a stored list: the list itself, or the connect-to
// list's entries gathered into `gathered`, which is then what is returned.
const std::vector<AddressPattern>& ListEntries(const GameConfig& config, AddressList list,
                                               std::vector<AddressPattern>& gathered);

// Makes `entries` (at most the capacity) the whole list; the connect-to list takes them
// from its first slot on and its other slots are emptied, as the window saves it.
void StoreEntries(GameConfig& config, AddressList list, std::vector<AddressPattern> entries);

// Adds `entries` after those listed; the connect-to list keeps its slots and puts them
// into its empty ones in slot order. The caller keeps within the capacity.
void AppendEntries(GameConfig& config, AddressList list, std::vector<AddressPattern> entries);

// Removes every entry for which `take` is true (the connect-to slot is emptied and the
// others keep theirs); returns how many went.
std::size_t RemoveEntries(GameConfig& config, AddressList list, const std::function<bool(const AddressPattern&)>& take);

// Moves the used connect-to slots to the front in their order, as the window's save
// does; false when no entry had to move.
bool CompactConnectSlots(ConnectAddress (&slots)[kConnectSlots]);

// The duplicate rule: of `incoming`, the entries neither in `listed` nor earlier in
// `incoming`, in order. For each one dropped, `dropped(index, first)` is told its index
// and that of its first occurrence in `incoming`, or kAlreadyListed.
inline constexpr std::size_t kAlreadyListed = static_cast<std::size_t>(-1);
std::vector<AddressPattern> NewEntries(const std::vector<AddressPattern>& listed,
                                       std::span<const AddressPattern> incoming,
                                       const std::function<void(std::size_t index, std::size_t first)>& dropped);
