// The tests' model of the configuration file: the default file and the part-by-part layout.
#include "support/config_layout.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "default_config_hex.h"  // generated from tests/fixtures/default_config.hex
#include "support/file_builder.h"
#include "support/scratch_dir.h"

namespace config_layout {

namespace {

void PutPatterns(testing_support::FileBuilder& file, const std::vector<Pattern>& patterns) {
    if (patterns.size() > 0xffff) throw std::invalid_argument("a list holds at most 65535 patterns");
    file.U16(static_cast<std::uint16_t>(patterns.size()));
    for (const Pattern& p : patterns)
        for (std::uint16_t octet : p) file.U16(octet);
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

std::vector<std::uint8_t> FileParts::Bytes(std::uint16_t version) const {
    if (options.size() != kOptionsBytes || messages.size() != kMessagesBytes ||
        records.size() % kRecordBytes != 0 || records.size() / kRecordBytes > 0xff)
        throw std::invalid_argument("file parts of the wrong size");
    // How much of the option block each version holds, and which items follow the
    // address table: the lists from 260 on, the records, second word and messages in 272.
    const std::size_t option_bytes = version <= 259 ? 68 : version == 260 ? 76 : version == 261 ? 80 : kOptionsBytes;
    testing_support::FileBuilder file;
    file.U16(version).Raw({options.begin(), options.begin() + static_cast<std::ptrdiff_t>(option_bytes)});
    file.Raw({connect_id.begin(), connect_id.end()});
    for (const Address& address : connect) file.Raw({address.begin(), address.end()});
    file.I32(static_cast<std::int32_t>(opaque_word_1));
    if (version >= 260) {
        file.I32(allowed_only);
        PutPatterns(file, allowed);
        PutPatterns(file, denied);
    }
    if (version >= 272) {
        file.U8(static_cast<std::uint8_t>(records.size() / kRecordBytes)).Raw(records);
        file.I32(static_cast<std::int32_t>(opaque_word_2)).Raw(messages);
    }
    return file.bytes;
}

const std::vector<std::uint8_t>& DefaultFile() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::istringstream lines(kDefaultConfigHex);
        std::string line, hex;
        while (std::getline(lines, line)) hex += line.substr(0, line.find('#'));
        return testing_support::Hex(hex);
    }();
    return bytes;
}

FileParts DefaultParts() {
    const std::vector<std::uint8_t>& file = DefaultFile();
    if (file.size() != kFileBytes || Slice(file, kAllowedCountAt, 5) != std::vector<std::uint8_t>(5, 0))
        throw std::logic_error("the default file holds patterns or records");
    FileParts parts;
    parts.options = Slice(file, kOptionsAt, kOptionsBytes);
    std::copy_n(file.begin() + kConnectIdAt, kConnectIdBytes, parts.connect_id.begin());
    for (std::size_t slot = 0; slot < kConnectSlots; ++slot)
        std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(kConnectAddressesAt + 4 * slot), 4,
                    parts.connect[slot].begin());
    parts.opaque_word_1 = U32At(file, kOpaqueWord1At);
    parts.allowed_only = static_cast<std::int32_t>(U32At(file, kAllowedOnlyAt));
    parts.opaque_word_2 = U32At(file, OpaqueWord2At());
    parts.messages = Slice(file, kMessagesAt, kMessagesBytes);
    return parts;
}

std::array<std::uint8_t, kConnectIdBytes> IdField(const std::string& text) {
    std::array<std::uint8_t, kConnectIdBytes> field{};
    std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
    return field;
}

std::vector<std::uint8_t> MessageItem(const std::string& text_field, std::uint8_t target) {
    testing_support::FileBuilder item;
    item.Text(text_field, kMessageTextBytes).U8(target);
    return item.bytes;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t length) {
    if (at + length > bytes.size()) return {};
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + length)};
}

}  // namespace config_layout
