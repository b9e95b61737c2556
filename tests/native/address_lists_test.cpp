// The address lists' rules and edits: empty slots, the octet reader, the duplicate rule,
// and how the connect-to slots take additions, removals and a stored list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/address_lists.h"

namespace {

struct FieldCase {
    std::wstring text;  // as the edit holds it
    bool wildcard_allowed;
    std::optional<std::uint16_t> value;
};

TEST(AddressLists, ReadOctetFieldAcceptsOnlyOctetsAndAllowedWildcards) {
    const FieldCase cases[] = {
        {L"0", false, 0},
        {L"255", false, 255},
        {L"256", true, std::nullopt},
        {L"1234", false, 123},       // only the first three characters are read
        {L"255x", false, 255},
        {L"12x", false, std::nullopt},
        {L"-1", false, std::nullopt},
        {L" 1", false, std::nullopt},
        {L"001", false, 1},
        {L"007", true, 7},
        {L"", true, std::nullopt},
        {L"*", true, 256},
        {L"*", false, std::nullopt},
        {L"**", true, std::nullopt},
        {L"*1", true, std::nullopt},
        {L"1*", true, std::nullopt},
        {L"\x3042", true, std::nullopt},           // a kana
        {L"\xFF11", false, std::nullopt},          // full-width 1, not an ASCII digit
        {L"1\xFF12", false, std::nullopt},
        {L"\xFF0A", true, std::nullopt},           // full-width asterisk
        {L"\x0661", false, std::nullopt},          // Arabic-Indic digit one
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(ReadOctetField(c.text, c.wildcard_allowed), c.value)
            << "field of " << c.text.size() << " units, first " << (c.text.empty() ? 0 : int(c.text[0]))
            << " wildcard " << c.wildcard_allowed;
}

TEST(AddressLists, ListTextOctetsRefuseLongerText) {
    EXPECT_EQ(ReadOctet("007", false), 7);
    EXPECT_EQ(ReadOctet("1234", false), std::nullopt);  // never cut to 123
    EXPECT_EQ(ReadOctet("*", true), 256);
    EXPECT_EQ(ReadOctet("*", false), std::nullopt);
}

TEST(AddressLists, OnlyTheConnectListHasEmptySlots) {
    const AddressPattern zero{{0, 0, 0, 0}};
    EXPECT_TRUE(IsEmptySlot(AddressList::kConnect, zero));
    EXPECT_FALSE(IsEmptySlot(AddressList::kConnect, AddressPattern{{0, 0, 0, 1}}));
    EXPECT_FALSE(IsEmptySlot(AddressList::kDenied, zero));
    EXPECT_FALSE(IsEmptySlot(AddressList::kAllowed, zero));
    for (const AddressListRules& rules : address_lists) {
        AddressList parsed;
        ASSERT_TRUE(ParseListName(rules.name, parsed));
        EXPECT_EQ(parsed, rules.list);
        EXPECT_EQ(ListCapacity(rules.list), rules.list == AddressList::kConnect ? 24u : 65535u);
        EXPECT_EQ(rules.wildcard_allowed, rules.list != AddressList::kConnect);
    }
}

std::vector<AddressPattern> Entries(std::initializer_list<int> last_octets) {
    std::vector<AddressPattern> entries;
    for (int o : last_octets) entries.push_back(AddressPattern{{10, 0, 0, static_cast<std::uint16_t>(o)}});
    return entries;
}

std::vector<int> SlotLastOctets(const GameConfig& c, std::size_t slots) {
    std::vector<int> octets;
    for (std::size_t i = 0; i < slots; ++i) octets.push_back(c.connect_addresses[i].octets[3]);
    return octets;
}

TEST(AddressLists, ConnectSlotsKeepTheirPlacesUntilStoredOrCompacted) {
    GameConfig c;
    ClearConfig(c);
    c.connect_addresses[1] = ConnectAddress{{10, 0, 0, 1}};
    c.connect_addresses[3] = ConnectAddress{{10, 0, 0, 3}};
    EXPECT_EQ(ListEntries(c, AddressList::kConnect).size(), 2u);
    std::vector<AddressPattern> gathered;
    EXPECT_TRUE(SamePatterns(ListEntries(c, AddressList::kConnect, gathered), ListEntries(c, AddressList::kConnect)));
    c.denied_patterns = Entries({1, 2});
    EXPECT_EQ(&ListEntries(c, AddressList::kDenied, gathered), &c.denied_patterns);  // the list itself, not a copy

    AppendEntries(c, AddressList::kConnect, Entries({7, 8}));  // into the empty slots, in order
    EXPECT_EQ(SlotLastOctets(c, 5), (std::vector<int>{7, 1, 8, 3, 0}));
    EXPECT_EQ(RemoveEntries(c, AddressList::kConnect, [](const AddressPattern& p) { return p.octets[3] == 7; }), 1u);
    EXPECT_EQ(SlotLastOctets(c, 5), (std::vector<int>{0, 1, 8, 3, 0}));

    ConnectAddress slots[kConnectSlots];
    std::copy(std::begin(c.connect_addresses), std::end(c.connect_addresses), slots);
    EXPECT_TRUE(CompactConnectSlots(slots));
    EXPECT_FALSE(CompactConnectSlots(slots));
    EXPECT_EQ(slots[0].octets[3], 1);
    EXPECT_EQ(slots[2].octets[3], 3);
    EXPECT_EQ(slots[3].octets[3], 0);

    StoreEntries(c, AddressList::kConnect, Entries({5}));
    EXPECT_EQ(SlotLastOctets(c, 4), (std::vector<int>{5, 0, 0, 0}));
}

TEST(AddressLists, NewEntriesDropWhatIsListedOrCameEarlier) {
    const std::vector<AddressPattern> listed = {AddressPattern{{10, 300, 0, 1}}};  // 300 is "*"
    const std::vector<AddressPattern> incoming = {AddressPattern{{10, 256, 0, 1}}, AddressPattern{{10, 0, 0, 2}},
                                                  AddressPattern{{10, 0, 0, 2}}};
    std::vector<std::pair<std::size_t, std::size_t>> dropped;
    const auto added = NewEntries(listed, incoming, [&](std::size_t i, std::size_t first) { dropped.push_back({i, first}); });
    ASSERT_EQ(added.size(), 1u);
    EXPECT_TRUE(SamePattern(added[0], incoming[1]));
    EXPECT_EQ(dropped, (std::vector<std::pair<std::size_t, std::size_t>>{{0, kAlreadyListed}, {2, 1}}));

    // First octets 32 apart give keys alike in their low half: still two entries.
    dropped.clear();
    const auto apart = NewEntries({AddressPattern{{1, 2, 3, 4}}}, std::vector{AddressPattern{{33, 2, 3, 4}}, AddressPattern{{1, 2, 3, 4}}},
                                  [&](std::size_t i, std::size_t first) { dropped.push_back({i, first}); });
    ASSERT_EQ(apart.size(), 1u);
    EXPECT_EQ(apart[0].octets[0], 33);
    EXPECT_EQ(dropped, (std::vector<std::pair<std::size_t, std::size_t>>{{1, kAlreadyListed}}));
}

TEST(AddressLists, EveryStoredValueAboveTheOctetsIsTheWildcardWhereverItStands) {
    // Values a file may hold: every one above 255 means "*", whatever its bits.
    const std::uint16_t values[] = {0, 1, 2, 255, 256, 257, 300, 511, 512, 0x7FFF, 0x8000, 0x80FE, 0x8100, 0xFFFF};
    for (int at = 0; at < 4; ++at) {
        for (const std::uint16_t a : values) {
            for (const std::uint16_t b : values) {
                AddressPattern listed{{7, 7, 7, 7}}, incoming{{7, 7, 7, 7}};
                listed.octets[at] = a;
                incoming.octets[at] = b;
                const bool same = a == b || (a > 255 && b > 255);
                SCOPED_TRACE(testing::Message() << "octet " << at << ": " << a << " against " << b);
                EXPECT_EQ(NewEntries({listed}, std::vector{incoming}, [](std::size_t, std::size_t) {}).empty(), same);
                // Both read into an empty list, in either order: one entry when the same.
                const std::size_t entries = same ? 1 : 2;
                EXPECT_EQ(NewEntries({}, std::vector{listed, incoming}, [](std::size_t, std::size_t) {}).size(), entries);
                EXPECT_EQ(NewEntries({}, std::vector{incoming, listed}, [](std::size_t, std::size_t) {}).size(), entries);
            }
        }
    }
}

TEST(AddressLists, EntriesInAddressOrderAreAllNewAndAnyOtherOrderIsChecked) {
    // Into an empty list; "*" is stored as 256 or as any value above it.
    const AddressPattern star{{1, 2, 3, kWildcardOctet}}, star300{{1, 2, 3, 300}};
    struct Row {
        std::vector<AddressPattern> incoming;
        std::vector<std::pair<std::size_t, std::size_t>> dropped;
    };
    const Row rows[] = {
        {{{{1, 2, 3, 4}}, {{1, 2, 3, 5}}, {{1, 2, 4, 0}}, {{1, 3, 0, 0}}, {{2, 0, 0, 0}}}, {}},
        {{{{1, 2, 3, 255}}, star}, {}},
        {{{{1, 2, 3, 255}}, star, star300}, {{2, 1}}},
        {{star300, star}, {{1, 0}}},
        {{{{5, 5, 5, 5}}, {{5, 5, 5, 5}}}, {{1, 0}}},
        {{{{9, 0, 0, 1}}, {{9, 0, 0, 2}}, {{9, 0, 0, 1}}}, {{2, 0}}},
        {{{{2, 0, 0, 1}}, {{1, 0, 0, 2}}, {{2, 0, 0, 1}}}, {{2, 0}}},
        {{}, {}},
    };
    for (const Row& row : rows) {
        std::vector<std::pair<std::size_t, std::size_t>> dropped;
        const auto added = NewEntries({}, row.incoming, [&](std::size_t i, std::size_t first) { dropped.push_back({i, first}); });
        EXPECT_EQ(dropped, row.dropped);
        EXPECT_EQ(added.size(), row.incoming.size() - row.dropped.size());
    }
}

TEST(AddressLists, EachOfManyEntriesIsFoundWhereItWasFirstSeen) {
    // Every network of a /8, then all of them again backwards with new ones between: each
    // again is found at its first place, the new ones are kept in their order.
    std::vector<AddressPattern> incoming;
    for (std::uint16_t i = 0; i < 256; ++i)
        for (std::uint16_t k = 0; k < 128; ++k) incoming.push_back(AddressPattern{{10, i, k, kWildcardOctet}});
    const std::size_t networks = incoming.size();
    for (std::size_t i = networks; i-- > 0;) {
        incoming.push_back(incoming[i]);
        if (i % 1000 == 0) incoming.push_back(AddressPattern{{11, 0, static_cast<std::uint16_t>(i / 1000), 1}});
    }
    std::size_t wrong = 0, dropped = 0;
    const auto added = NewEntries({}, incoming, [&](std::size_t i, std::size_t first) {
        ++dropped;
        if (first >= networks || !SamePattern(incoming[first], incoming[i])) ++wrong;
    });
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(dropped, networks);
    ASSERT_EQ(added.size(), networks + 33);
    for (std::size_t n = 0; n < 33; ++n) EXPECT_EQ(added[networks + n].octets[2], 32 - n);
}

}  // namespace
