// Assigning a captured joypad button to a key-map slot, and the labels the rows show.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "config/game_config.h"
#include "model/key_assign.h"

namespace {

struct AssignCase {
    const char* name;
    KeyMap before;
    std::size_t slot;
    std::uint8_t button;
    KeyMap after;
};

constexpr KeyMap kIdentity = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

const AssignCase kAssignCases[] = {
    {"row 1 takes button 3: slot 3 gets slot 0's button", kIdentity, 0, 3, {3, 1, 2, 0, 4, 5, 6, 7, 8, 9}},
    {"row 0 takes button 9: the menu slot swaps", kIdentity, 3, 9, {0, 1, 2, 9, 4, 5, 6, 7, 8, 3}},
    {"row 8 takes button 8: the hidden slot 8 swaps too", kIdentity, 9, 8, {0, 1, 2, 3, 4, 5, 6, 7, 9, 8}},
    {"row 0 takes button 11: nobody else held it", kIdentity, 3, 11, {0, 1, 2, 11, 4, 5, 6, 7, 8, 9}},
    {"a row's own button changes nothing", kIdentity, 4, 4, kIdentity},
    {"every holder of the button takes the old one", {0, 7, 2, 3, 4, 5, 6, 7, 8, 9}, 0, 7,
     {7, 0, 2, 3, 4, 5, 6, 0, 8, 9}},
    {"an out-of-range stored value moves like any other", {0, 1, 2, 20, 4, 5, 6, 7, 8, 9}, 3, 0,
     {20, 1, 2, 0, 4, 5, 6, 7, 8, 9}},
    {"slot 9 back from 11 to 9 in a map without 9", {0, 1, 2, 3, 4, 5, 6, 7, 8, 11}, 9, 9,
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
};

void PrintTo(const AssignCase& c, std::ostream* os) { *os << c.name; }

class AssignButtonCases : public testing::TestWithParam<AssignCase> {};

TEST_P(AssignButtonCases, GivesTheExpectedMap) {
    const AssignCase& c = GetParam();
    KeyMap map = c.before;
    AssignButton(map, c.slot, c.button);
    EXPECT_EQ(map, c.after) << c.name;
}

INSTANTIATE_TEST_SUITE_P(KeyAssign, AssignButtonCases, testing::ValuesIn(kAssignCases));

// Every slot and every button of 0 to 11, starting from a few maps that hold each of
// 0 to 9 once: the slot ends up with the button, and the map stays a permutation when
// the button was one of 0 to 9; a button of 10 or 11 pushes the slot's old button out.
TEST(KeyAssign, KeepsEachButtonOnceOverEverySlotAndButton) {
    const KeyMap starts[] = {kIdentity, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, {3, 0, 1, 2, 4, 5, 7, 6, 9, 8}};
    for (const KeyMap& start : starts) {
        for (std::size_t slot = 0; slot < 10; ++slot) {
            for (std::uint8_t button = 0; button < kCaptureButtons; ++button) {
                KeyMap map = start;
                AssignButton(map, slot, button);
                SCOPED_TRACE("slot " + std::to_string(slot) + " button " + std::to_string(button));
                EXPECT_EQ(map[slot], button);
                KeyMap sorted = map;
                std::sort(sorted.begin(), sorted.end());
                if (button < 10) {
                    EXPECT_EQ(sorted, kIdentity);
                } else {
                    EXPECT_EQ(std::count(map.begin(), map.end(), start[slot]), 0);
                    EXPECT_EQ(std::count(map.begin(), map.end(), button), 1);
                    for (std::size_t k = 0; k < 10; ++k) {
                        if (k != slot) {
                            EXPECT_EQ(map[k], start[k]);
                        }
                    }
                }
            }
        }
    }
}

TEST(KeyAssign, LabelShowsTheStoredButtonPlusOne) {
    const struct {
        std::uint8_t stored;
        const char* text;
    } cases[] = {{0, "KEY 1"}, {11, "KEY 12"}, {20, "KEY 21"}, {255, "KEY 256"}};
    for (const auto& c : cases) EXPECT_STREQ(FormatKeyLabel(c.stored).text, c.text) << int(c.stored);
}

// Rows show slots 3, 0, 1, 2, 4, 5, 7, 6, 9 from the top.
TEST(KeyAssign, RowLabelsFollowTheRowSlots) {
    const char* identity_rows[kKeyRows] = {"KEY 4", "KEY 1", "KEY 2", "KEY 3", "KEY 5",
                                           "KEY 6", "KEY 8", "KEY 7", "KEY 10"};
    for (int row = 0; row < kKeyRows; ++row) EXPECT_STREQ(RowLabel(kIdentity, row).text, identity_rows[row]) << row;

    KeyMap map = kIdentity;
    AssignButton(map, 3, 9);  // row 0 takes button 9
    EXPECT_STREQ(RowLabel(map, 0).text, "KEY 10");
    EXPECT_STREQ(RowLabel(map, 8).text, "KEY 4");

    map = kIdentity;
    AssignButton(map, 0, 3);  // row 1 takes button 3
    EXPECT_STREQ(RowLabel(map, 1).text, "KEY 4");
    EXPECT_STREQ(RowLabel(map, 0).text, "KEY 1");
}

}  // namespace
