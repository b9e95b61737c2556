// Reads arbitrary text as one octet field of the address dialog: whatever the field holds,
// a value comes only from ASCII digits (or "*" where allowed) among its first three
// characters.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "config/game_config.h"
#include "model/address_lists.h"

namespace {

// The field's text as the edit holds it, in UTF-16 units.
using FieldChar = wchar_t;

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool wildcard_allowed = (data[0] & 1) != 0;
    std::basic_string<FieldChar> field;
    for (std::size_t at = 1; at + 2 <= size; at += 2) field += static_cast<FieldChar>(data[at] | data[at + 1] << 8);

    const std::optional<std::uint16_t> value = ReadOctetField(field, wildcard_allowed);
    if (!value) return 0;
    const std::basic_string_view<FieldChar> counted = std::basic_string_view<FieldChar>(field).substr(0, 3);
    Require(!counted.empty());
    if (*value == kWildcardOctet) {
        Require(wildcard_allowed && counted.size() == 1 && counted[0] == FieldChar('*'));
        return 0;
    }
    Require(*value <= 255);
    unsigned digits = 0;
    for (FieldChar ch : counted) {
        Require(ch >= FieldChar('0') && ch <= FieldChar('9'));
        digits = digits * 10 + static_cast<unsigned>(ch - FieldChar('0'));
    }
    Require(digits == *value);
    return 0;
}
