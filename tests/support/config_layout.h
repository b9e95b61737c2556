// The configuration file as the tests model it: the named offsets and sizes of a
// version-272 file, the hand-written default file, and a builder that lays out a file
// part by part. Written from the file layout, never from the codec, so that the tests
// stay independent of what they test; tests/support/config_file.py is the same model
// for the scripts and must keep the same offsets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace config_layout {

// Item sizes.
inline constexpr std::size_t kOptionsBytes = 84;
inline constexpr std::size_t kConnectIdBytes = 17;
inline constexpr std::size_t kConnectSlots = 24;
inline constexpr std::size_t kConnectAddressesBytes = kConnectSlots * 4;
inline constexpr std::size_t kPatternBytes = 8;
inline constexpr std::size_t kRecordBytes = 12;
inline constexpr std::size_t kMessageTextBytes = 41;
inline constexpr std::size_t kMessageBytes = kMessageTextBytes + 1;  // the text, then the target
inline constexpr std::size_t kMessageCount = 8;
inline constexpr std::size_t kMessagesBytes = kMessageCount * kMessageBytes;
inline constexpr std::uint16_t kWildcard = 256;  // an octet that matches any value

// Everything up to the allowed list has a fixed place.
inline constexpr std::size_t kVersionAt = 0;
inline constexpr std::size_t kOptionsAt = 2;
inline constexpr std::size_t kConnectIdAt = kOptionsAt + kOptionsBytes;
inline constexpr std::size_t kConnectAddressesAt = kConnectIdAt + kConnectIdBytes;
inline constexpr std::size_t kOpaqueWord1At = kConnectAddressesAt + kConnectAddressesBytes;
inline constexpr std::size_t kAllowedOnlyAt = kOpaqueWord1At + 4;
inline constexpr std::size_t kAllowedCountAt = kAllowedOnlyAt + 4;

// Fields of the option block the tests look at, as file offsets.
inline constexpr std::size_t kScreenSizeAt = kOptionsAt + 0;
inline constexpr std::size_t kBgmVolumeAt = kOptionsAt + 28;
inline constexpr std::size_t kVoiceVolumeAt = kOptionsAt + 36;
inline constexpr std::size_t InputMethodAt(int player) { return kOptionsAt + 40 + 4 * static_cast<std::size_t>(player); }
inline constexpr std::size_t kStoryDifficultyAt = kOptionsAt + 68;

// The rest moves with the number of allowed and denied patterns and opaque records.
inline constexpr std::size_t DeniedCountAt(std::size_t allowed) {
    return kAllowedCountAt + 2 + kPatternBytes * allowed;
}
inline constexpr std::size_t RecordCountAt(std::size_t allowed, std::size_t denied) {
    return DeniedCountAt(allowed) + 2 + kPatternBytes * denied;
}
inline constexpr std::size_t OpaqueWord2At(std::size_t allowed = 0, std::size_t denied = 0, std::size_t records = 0) {
    return RecordCountAt(allowed, denied) + 1 + kRecordBytes * records;
}
inline constexpr std::size_t MessagesAt(std::size_t allowed = 0, std::size_t denied = 0, std::size_t records = 0) {
    return OpaqueWord2At(allowed, denied, records) + 4;
}
inline constexpr std::size_t FileSize(std::size_t allowed = 0, std::size_t denied = 0, std::size_t records = 0) {
    return MessagesAt(allowed, denied, records) + kMessagesBytes;
}

// In a file with empty lists and no records, such as the default file.
inline constexpr std::size_t kMessagesAt = MessagesAt();
inline constexpr std::size_t kFileBytes = FileSize();
static_assert(kFileBytes == 2 + 84 + 17 + 96 + 4 + 4 + 2 + 2 + 1 + 4 + 336);

using Address = std::array<std::uint8_t, 4>;
using Pattern = std::array<std::uint16_t, 4>;  // octets a, b, c, d; kWildcard for "*"

// A configuration file part by part; Bytes lays the parts out as a file of the given
// version holds them.
struct FileParts {
    std::vector<std::uint8_t> options;  // kOptionsBytes
    std::array<std::uint8_t, kConnectIdBytes> connect_id{};
    std::array<Address, kConnectSlots> connect{};
    std::uint32_t opaque_word_1 = 0;
    std::int32_t allowed_only = 0;
    std::vector<Pattern> allowed;
    std::vector<Pattern> denied;
    std::vector<std::uint8_t> records;   // whole records of kRecordBytes
    std::uint32_t opaque_word_2 = 0;
    std::vector<std::uint8_t> messages;  // kMessagesBytes

    std::vector<std::uint8_t> Bytes(std::uint16_t version = 272) const;
};

// The file a start without a configuration creates, from tests/fixtures/default_config.hex.
const std::vector<std::uint8_t>& DefaultFile();
// The same file as parts, to change some and lay it out again.
FileParts DefaultParts();

// The ID field holding `text`, cut at 17 bytes, padded with zeros.
std::array<std::uint8_t, kConnectIdBytes> IdField(const std::string& text);
// One message item: the 41 text bytes exactly as given (padded with zeros), then the target.
std::vector<std::uint8_t> MessageItem(const std::string& text_field, std::uint8_t target);

// `length` bytes of `bytes` from `at`; empty when they reach past the end.
std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length);

}  // namespace config_layout
