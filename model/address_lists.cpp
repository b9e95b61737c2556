// The address lists' rules and the edits both front ends make to them.
#include "model/address_lists.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <new>

const AddressListRules address_lists[3] = {
    {AddressList::kConnect, "connect", kConnectSlots, false, true},
    {AddressList::kDenied, "denied", kMaxPatterns, true, false},
    {AddressList::kAllowed, "allowed", kMaxPatterns, true, false},
};

bool ParseListName(std::string_view name, AddressList& list) {
    for (const AddressListRules& rules : address_lists) {
        if (name != rules.name) continue;
        list = rules.list;
        return true;
    }
    return false;
}

const char* ListName(AddressList list) { return ListRules(list).name; }

std::size_t ListCapacity(AddressList list) { return ListRules(list).capacity; }

AddressPattern ConnectEntry(const ConnectAddress& slot) {
    const std::uint8_t* o = slot.octets;
    return AddressPattern{{o[0], o[1], o[2], o[3]}};
}

namespace {

template <typename Char>
std::optional<std::uint16_t> ReadOctetText(std::basic_string_view<Char> text, bool wildcard_allowed) {
    if (text.size() == 1 && text[0] == Char('*')) {
        if (wildcard_allowed) return kWildcardOctet;
        return std::nullopt;
    }
    if (text.empty() || text.size() > 3) return std::nullopt;
    std::uint16_t value = 0;
    for (Char ch : text) {
        if (ch < Char('0') || ch > Char('9')) return std::nullopt;
        value = static_cast<std::uint16_t>(value * 10 + (ch - Char('0')));
    }
    if (value > 255) return std::nullopt;
    return value;
}

void StoreSlot(ConnectAddress& slot, const AddressPattern& entry) {
    for (int i = 0; i < 4; ++i) slot.octets[i] = static_cast<std::uint8_t>(entry.octets[i]);
}

std::vector<AddressPattern>& Patterns(GameConfig& config, AddressList list) {
    return list == AddressList::kDenied ? config.denied_patterns : config.allowed_patterns;
}

const std::vector<AddressPattern>& Patterns(const GameConfig& config, AddressList list) {
    return list == AddressList::kDenied ? config.denied_patterns : config.allowed_patterns;
}

// The key a table finds a pattern by: its four octets as they lie in memory, each
// number above 255 read as the wildcard (256) as PatternKey reads it. Two patterns have
// one key exactly when PatternKey says they are the same, and most are their bytes as
// they stand, with no octet taken apart.
inline std::uint64_t TableKey(const AddressPattern& pattern) {
    const std::uint64_t raw = std::bit_cast<std::uint64_t>(pattern);
    // No octet at 512 or more, and none of 257 to 511 (adding 0x7EFF sets its top bit).
    constexpr std::uint64_t kHigh = 0xFE00FE00FE00FE00ull, kOver = 0x7EFF7EFF7EFF7EFFull, kTop = 0x8000800080008000ull;
    if ((raw & kHigh) == 0 && ((raw + kOver) & kTop) == 0) return raw;
    return std::bit_cast<std::uint64_t>(NormalisedPattern(pattern));
}

// The entries of a list and of what comes to it, each kept where it was first seen, in
// one open-addressed table, half of it empty at least, with no allocation per entry.
// A slot of 32 bits holds a place (1 + its index in `listed`, then in `incoming`) in its
// low bits, as many as the table has slots, and above them the bits of the key's hash
// just below those its slot was found by, so that a probe tells most entries apart
// without reading them; only equal bits are checked against the entry itself.
class PatternTable {
public:
    PatternTable(std::span<const AddressPattern> listed, std::span<const AddressPattern> incoming)
        : listed_(listed), incoming_(incoming) {
        std::size_t capacity = 16;
        int bits = 4;
        for (; capacity < 2 * (listed.size() + incoming.size()); capacity *= 2) ++bits;
        // A place and a part of the hash in 32 bits: a billion entries, 8 GB of them,
        // are more than any memory this runs in holds beside the table.
        if (bits > 31) throw std::bad_alloc();
        mask_ = capacity - 1;
        shift_ = 64 - bits;
        place_mask_ = (std::uint32_t{1} << bits) - 1;
        // Zeroed by the allocator, which gets fresh memory zeroed already.
        slots_.reset(static_cast<std::uint32_t*>(std::calloc(capacity, sizeof(std::uint32_t))));
        if (slots_ == nullptr) throw std::bad_alloc();
    }
    // Adds `pattern`, the entry at `place`, and returns true; or, when an equal one is
    // there already, returns false and the place where it was first seen.
    bool Insert(const AddressPattern& pattern, std::size_t place, std::size_t& first_place) {
        const std::uint64_t key = TableKey(pattern);
        const std::uint64_t hash = key * 0x9E3779B97F4A7C15ull;
        // The hash's bits below those of the slot's index, above the place.
        const std::uint32_t print = static_cast<std::uint32_t>(hash >> (shift_ - 32)) & ~place_mask_;
        for (std::size_t i = static_cast<std::size_t>(hash >> shift_);; i = (i + 1) & mask_) {
            const std::uint32_t slot = slots_[i];
            if (slot == 0) {
                slots_[i] = print | static_cast<std::uint32_t>(place + 1);
                return true;
            }
            if ((slot & ~place_mask_) == print && TableKey(At((slot & place_mask_) - 1)) == key) {
                first_place = (slot & place_mask_) - 1;
                return false;
            }
        }
    }

private:
    struct Free {
        void operator()(std::uint32_t* p) const { std::free(p); }
    };
    const AddressPattern& At(std::size_t place) const {
        return place < listed_.size() ? listed_[place] : incoming_[place - listed_.size()];
    }
    std::span<const AddressPattern> listed_, incoming_;
    std::unique_ptr<std::uint32_t[], Free> slots_;
    std::size_t mask_ = 0;
    int shift_ = 0;                  // 64 less the bits of a slot's index
    std::uint32_t place_mask_ = 0;   // the bits of a slot that hold its place
};

// A pattern's place in address order, the wildcard after 255: its four octets, the
// first the most significant, as TableKey reads them.
inline std::uint64_t OrderKey(const AddressPattern& pattern) {
    std::uint64_t key = TableKey(pattern);
    if constexpr (std::endian::native == std::endian::little) {
        key = key >> 32 | key << 32;
        key = (key & 0x0000FFFF0000FFFFull) << 16 | (key >> 16 & 0x0000FFFF0000FFFFull);
    }
    return key;
}

// Whether each entry comes after the one before it in address order.
bool InAddressOrder(std::span<const AddressPattern> entries) {
    std::uint64_t before = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint64_t key = OrderKey(entries[i]);
        if (i > 0 && key <= before) return false;
        before = key;
    }
    return true;
}

}  // namespace

std::optional<std::uint16_t> ReadOctet(std::string_view text, bool wildcard_allowed) {
    return ReadOctetText(text, wildcard_allowed);
}

std::optional<std::uint16_t> ReadOctetField(std::wstring_view field, bool wildcard_allowed) {
    return ReadOctetText(field.substr(0, 3), wildcard_allowed);
}

AddressPattern NormalisedPattern(AddressPattern pattern) {
    for (std::uint16_t& octet : pattern.octets)
        if (octet > 255) octet = kWildcardOctet;
    return pattern;
}

bool SamePattern(const AddressPattern& a, const AddressPattern& b) { return PatternKey(a) == PatternKey(b); }

std::vector<AddressPattern> ListEntries(const GameConfig& config, AddressList list) {
    if (list != AddressList::kConnect) return Patterns(config, list);
    std::vector<AddressPattern> entries;
    for (const ConnectAddress& slot : config.connect_addresses)
        if (!IsEmptySlot(list, ConnectEntry(slot))) entries.push_back(ConnectEntry(slot));
    return entries;
}

const std::vector<AddressPattern>& ListEntries(const GameConfig& config, AddressList list,
                                               std::vector<AddressPattern>& gathered) {
    if (list != AddressList::kConnect) return Patterns(config, list);
    gathered = ListEntries(config, list);
    return gathered;
}

void StoreEntries(GameConfig& config, AddressList list, std::vector<AddressPattern> entries) {
    if (list != AddressList::kConnect) {
        Patterns(config, list) = std::move(entries);
        return;
    }
    for (std::size_t slot = 0; slot < kConnectSlots; ++slot)
        StoreSlot(config.connect_addresses[slot], slot < entries.size() ? entries[slot] : AddressPattern{});
}

void AppendEntries(GameConfig& config, AddressList list, std::vector<AddressPattern> entries) {
    if (list != AddressList::kConnect) {
        std::vector<AddressPattern>& patterns = Patterns(config, list);
        if (patterns.empty()) {
            patterns = std::move(entries);  // a list of 65535 is not copied into an empty one
        } else {
            patterns.insert(patterns.end(), entries.begin(), entries.end());
        }
        return;
    }
    std::size_t next = 0;
    for (ConnectAddress& slot : config.connect_addresses) {
        if (next == entries.size()) break;
        if (IsEmptySlot(list, ConnectEntry(slot))) StoreSlot(slot, entries[next++]);
    }
}

std::size_t RemoveEntries(GameConfig& config, AddressList list, const std::function<bool(const AddressPattern&)>& take) {
    if (list != AddressList::kConnect) return std::erase_if(Patterns(config, list), take);
    std::size_t removed = 0;
    for (ConnectAddress& slot : config.connect_addresses) {
        const AddressPattern entry = ConnectEntry(slot);
        if (IsEmptySlot(list, entry) || !take(entry)) continue;
        StoreSlot(slot, AddressPattern{});
        ++removed;
    }
    return removed;
}

bool CompactConnectSlots(ConnectAddress (&slots)[kConnectSlots]) {
    std::size_t used = 0;
    bool moved = false;
    for (std::size_t slot = 0; slot < kConnectSlots; ++slot) {
        if (IsEmptySlot(AddressList::kConnect, ConnectEntry(slots[slot]))) continue;
        if (used != slot) {
            slots[used] = slots[slot];
            std::memset(slots[slot].octets, 0, sizeof slots[slot].octets);
            moved = true;
        }
        ++used;
    }
    return moved;
}

std::vector<AddressPattern> NewEntries(const std::vector<AddressPattern>& listed,
                                       std::span<const AddressPattern> incoming,
                                       const std::function<void(std::size_t index, std::size_t first)>& dropped) {
    // Entries in address order, as published lists come, cannot repeat one another: into
    // an empty list (a first import, a replacement) they all go, with no table.
    if (listed.empty() && InAddressOrder(incoming)) return {incoming.begin(), incoming.end()};
    PatternTable table(listed, incoming);
    std::size_t first_place = 0;
    for (std::size_t place = 0; place < listed.size(); ++place) table.Insert(listed[place], place, first_place);
    // Room for all of them, not filled first: each kept entry is written once.
    std::vector<AddressPattern> added;
    added.reserve(incoming.size());
    for (std::size_t i = 0; i < incoming.size(); ++i) {
        if (table.Insert(incoming[i], listed.size() + i, first_place))
            added.push_back(incoming[i]);
        else
            dropped(i, first_place < listed.size() ? kAlreadyListed : first_place - listed.size());
    }
    return added;
}
