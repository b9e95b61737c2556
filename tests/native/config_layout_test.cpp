// The tests' own model of the configuration file, against offsets counted by hand from
// the file layout, and against the scripts' model of the same file.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "support/config_layout.h"

using config_layout::DefaultFile;
using config_layout::DefaultParts;
using config_layout::FileParts;

TEST(ConfigLayout, DefaultPartsLayOutAsTheDefaultFile) {
    ASSERT_EQ(DefaultFile().size(), 552u);
    EXPECT_EQ(DefaultParts().Bytes(), DefaultFile());
}

TEST(ConfigLayout, PartsStandAtTheirOffsets) {
    FileParts file = DefaultParts();
    file.connect_id = config_layout::IdField("abc");
    file.connect[0] = {1, 2, 3, 4};
    file.opaque_word_1 = 0x11223344;
    file.allowed_only = 1;
    file.allowed = {{1, 2, 3, 256}};
    const std::vector<std::uint8_t> bytes = file.Bytes();
    ASSERT_EQ(bytes.size(), 552u + 8u);
    EXPECT_EQ(bytes[86], 'a');
    EXPECT_EQ(bytes[103 + 3], 4);
    EXPECT_EQ(bytes[199], 0x44);
    EXPECT_EQ(bytes[203], 1);
    EXPECT_EQ(bytes[207], 1);
    EXPECT_EQ(bytes[207 + 2 + 6], 0x00);  // 256 = 00 01
    EXPECT_EQ(bytes[207 + 2 + 7], 0x01);
}

// Each version holds its own prefix of the option block, then the ID; the lists from
// 260 on; the records, the second word and the messages in 272 only.
TEST(ConfigLayout, EachVersionLaysOutItsOwnItems) {
    FileParts file = DefaultParts();
    file.connect_id = config_layout::IdField("I");
    file.allowed = {{1, 2, 3, 4}};
    file.denied = {{5, 6, 7, 8}, {9, 10, 11, 12}};
    file.records.assign(12, 0xee);
    const struct {
        std::uint16_t version;
        std::size_t option_bytes;
        std::size_t size;
    } cases[] = {{0, 68, 187}, {259, 68, 187}, {260, 76, 227}, {261, 80, 231},
                 {262, 84, 235}, {271, 84, 235}, {272, 84, 588}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        const std::vector<std::uint8_t> bytes = file.Bytes(c.version);
        ASSERT_EQ(bytes.size(), c.size);
        EXPECT_EQ(bytes[0] | bytes[1] << 8, c.version);
        EXPECT_EQ(bytes[2 + c.option_bytes], 'I');
    }
}

#ifdef QOR_SOURCE_DIR
// The scripts build their files with tests/support/config_file.py: both models must put
// every item at the same place.
TEST(ConfigLayout, TheScriptsModelHasTheSameOffsetsAndSizes) {
    const std::string command = "python3 -B '" QOR_SOURCE_DIR "/tests/support/config_file.py' --layout";
    FILE* out = popen(command.c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::map<std::string, long> scripts;
    char name[64];
    long value = 0;
    while (std::fscanf(out, "%63s %ld", name, &value) == 2) scripts[name] = value;
    ASSERT_EQ(pclose(out), 0);
    using namespace config_layout;
    const std::map<std::string, long> tests = {
        {"VERSION_AT", kVersionAt},
        {"OPTIONS_AT", kOptionsAt},
        {"CONNECT_ID_AT", kConnectIdAt},
        {"CONNECT_ADDRESSES_AT", kConnectAddressesAt},
        {"OPAQUE_WORD_1_AT", kOpaqueWord1At},
        {"ALLOWED_ONLY_AT", kAllowedOnlyAt},
        {"ALLOWED_COUNT_AT", kAllowedCountAt},
        {"PATTERN_BYTES", kPatternBytes},
        {"RECORD_BYTES", kRecordBytes},
        {"MESSAGE_TEXT_BYTES", kMessageTextBytes},
        {"MESSAGE_BYTES", kMessageBytes},
        {"MESSAGES_BYTES", kMessagesBytes},
        {"WILDCARD", kWildcard},
    };
    EXPECT_EQ(scripts, tests);
}
#endif
