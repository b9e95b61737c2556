// Byte layout of Data\GameConfig.dat for every version, as a pair of pure functions.
#include "config/config_codec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kOptionBlockBytes = sizeof(OptionBlock);
static_assert(sizeof(FunctionMessage) == 42 && sizeof(OpaqueRecord) == 12 && sizeof(AddressPattern) == 8);

// Little-endian reader over a byte span. Reading past the end yields zero bytes, so a
// truncated file leaves whatever it cannot supply at zero.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    void Bytes(void* out, std::size_t n) {
        auto* dst = static_cast<std::uint8_t*>(out);
        std::size_t available = pos_ < bytes_.size() ? std::min(n, bytes_.size() - pos_) : 0;
        if (available > 0) std::memcpy(dst, bytes_.data() + pos_, available);
        std::memset(dst + available, 0, n - available);
        pos_ += n;
    }
    std::uint8_t U8() {
        std::uint8_t b[1];
        Bytes(b, 1);
        return b[0];
    }
    std::uint16_t U16() {
        std::uint8_t b[2];
        Bytes(b, 2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::uint32_t U32() {
        std::uint8_t b[4];
        Bytes(b, 4);
        return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
               (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    // The next n bytes, when the input holds all of them; else nullptr, and nothing is read.
    const std::uint8_t* Whole(std::size_t n) {
        if (pos_ > bytes_.size() || bytes_.size() - pos_ < n) return nullptr;
        const std::uint8_t* p = bytes_.data() + pos_;
        pos_ += n;
        return p;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Little-endian writer into a buffer sized in advance.
class ByteWriter {
public:
    explicit ByteWriter(std::uint8_t* out) : out_(out) {}

    void Bytes(const void* in, std::size_t n) {
        std::memcpy(out_ + pos_, in, n);
        pos_ += n;
    }
    void U8(std::uint8_t v) { out_[pos_++] = v; }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) U8(static_cast<std::uint8_t>(v >> shift));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    std::size_t Position() const { return pos_; }

private:
    std::uint8_t* out_;
    std::size_t pos_ = 0;
};

// The block field by field, each value little-endian, each run of bytes as it is.
void ReadOptionBlock(ByteReader& r, OptionBlock& o) {
    for (int id = 0; id < kOptionFieldCount; ++id) {
        const OptionField& field = option_fields[id];
        if (!field.is_value)
            r.Bytes(reinterpret_cast<std::uint8_t*>(&o) + field.offset, field.width);
        else
            SetOptionFieldValue(o, static_cast<OptionFieldId>(id), field.width == 1 ? r.U8() : r.I32());
    }
}

void WriteOptionBlock(ByteWriter& w, const OptionBlock& o) {
    for (int id = 0; id < kOptionFieldCount; ++id) {
        const OptionField& field = option_fields[id];
        const std::int32_t value = OptionFieldValue(o, static_cast<OptionFieldId>(id));
        if (!field.is_value)
            w.Bytes(reinterpret_cast<const std::uint8_t*>(&o) + field.offset, field.width);
        else if (field.width == 1)
            w.U8(static_cast<std::uint8_t>(value));
        else
            w.I32(value);
    }
}

// A list as the file holds it. A list of 65535 entries is most of a large file: it is
// taken straight from the bytes when they are all there, and only copied into the
// record at the end (into the record's own buffer, which a load of a file of the same
// size reuses); entry by entry only when the file ends inside the list.
struct PatternList {
    std::size_t count = 0;
    const std::uint8_t* whole = nullptr;
    std::vector<AddressPattern> partial;
};

void ReadPatterns(ByteReader& r, PatternList& list) {
    list.count = r.U16();
    list.whole = r.Whole(8 * list.count);
    if (list.whole != nullptr) return;
    list.partial.assign(list.count, AddressPattern{});
    for (AddressPattern& p : list.partial)
        for (std::uint16_t& octet : p.octets) octet = r.U16();
}

// Fills `patterns` from the list; allocates nothing once it has the capacity. Entries
// the record already holds are overwritten rather than cleared first, so that loading
// a file of the same size again writes each entry once.
void StorePatterns(const PatternList& list, std::vector<AddressPattern>& patterns) {
    if (list.whole == nullptr) {
        patterns.assign(list.partial.begin(), list.partial.end());
        return;
    }
    patterns.resize(list.count);
    const std::uint8_t* in = list.whole;
    if constexpr (std::endian::native == std::endian::little) {
        // Four little-endian u16 octets and no padding: the file's bytes are the entries.
        static_assert(sizeof(AddressPattern) == 8);
        if (list.count != 0) std::memcpy(patterns.data(), in, 8 * list.count);
    } else {
        for (AddressPattern& p : patterns)
            for (std::uint16_t& octet : p.octets) {
                octet = static_cast<std::uint16_t>(in[0] | (in[1] << 8));
                in += 2;
            }
    }
}

void WritePatterns(ByteWriter& w, const std::vector<AddressPattern>& patterns) {
    w.U16(static_cast<std::uint16_t>(patterns.size()));
    if constexpr (std::endian::native == std::endian::little) {
        if (!patterns.empty()) w.Bytes(patterns.data(), 8 * patterns.size());  // as ReadPatterns takes them
        return;
    }
    for (const AddressPattern& p : patterns)
        for (std::uint16_t octet : p.octets) w.U16(octet);
}

void DecodeInto(ByteReader& r, std::uint16_t version, GameConfig& c, PatternList& allowed, PatternList& denied) {
    // Only the prefix that the version holds comes from the file; the rest stays zero
    // until the migration defaults below.
    std::uint8_t block[kOptionBlockBytes] = {};
    r.Bytes(block, OptionPrefixBytes(version));
    ByteReader block_reader(block);
    ReadOptionBlock(block_reader, c.options);
    for (int id = 0; id < kOptionFieldCount; ++id) {
        const OptionField& field = option_fields[id];
        if (field.is_value && !OptionFieldHeld(field, version))
            SetOptionFieldValue(c.options, static_cast<OptionFieldId>(id), field.migration_default);
    }

    r.Bytes(c.connect_id, sizeof c.connect_id);
    for (ConnectAddress& a : c.connect_addresses) r.Bytes(a.octets, 4);
    c.opaque_word_1 = r.U32();

    if (version > kOldestLayoutLastVersion) {
        c.allowed_only = r.I32();
        ReadPatterns(r, allowed);
        ReadPatterns(r, denied);
    }
    if (version >= kCurrentConfigVersion) {
        c.opaque_records.assign(r.U8(), OpaqueRecord{});
        for (OpaqueRecord& rec : c.opaque_records) r.Bytes(rec.bytes, sizeof rec.bytes);
        c.opaque_word_2 = r.U32();
        for (FunctionMessage& m : c.function_messages) {
            r.Bytes(m.text, sizeof m.text);
            m.target = r.U8();
        }
    }
}

}  // namespace

std::size_t OptionPrefixBytes(std::uint16_t version) {
    std::size_t end = 0;
    for (const OptionField& field : option_fields)
        if (OptionFieldHeld(field, version)) end = std::max(end, field.offset + field.width);
    return end;
}

std::vector<ConfigLayoutItem> ConfigLayout(std::uint16_t version, std::size_t allowed, std::size_t denied,
                                           std::size_t records) {
    std::vector<ConfigLayoutItem> items = {
        {"version", 2},
        {"option block", OptionPrefixBytes(version)},
        {"connect-to ID", kConnectIdBytes},
        {"connect-to addresses", 4 * kConnectSlots},
        {"opaque word 1", 4},
    };
    if (version > kOldestLayoutLastVersion) {
        items.push_back({"allowed-only flag", 4});
        items.push_back({"allowed count", 2});
        items.push_back({"allowed addresses", sizeof(AddressPattern) * allowed});
        items.push_back({"denied count", 2});
        items.push_back({"denied addresses", sizeof(AddressPattern) * denied});
    }
    if (version >= kCurrentConfigVersion) {
        items.push_back({"opaque-record count", 1});
        items.push_back({"opaque records", sizeof(OpaqueRecord) * records});
        items.push_back({"opaque word 2", 4});
        items.push_back({"function messages", sizeof(FunctionMessage) * kFunctionMessages});
    }
    return items;
}

std::string MigrationDefaultsText(std::uint16_t version) {
    std::string text;
    for (const OptionField& field : option_fields)
        if (field.is_value && !OptionFieldHeld(field, version))
            text += std::string(field.name) + " " + std::to_string(field.migration_default) + ", ";
    if (version <= kOldestLayoutLastVersion) text += "allowed-only off, empty allowed and denied lists, ";
    return text + "no opaque records and empty messages";
}

std::size_t EncodedConfigSize(std::size_t allowed, std::size_t denied, std::size_t records) {
    std::size_t size = 0;
    for (const ConfigLayoutItem& item : ConfigLayout(kCurrentConfigVersion, allowed, denied, records))
        size += item.size;
    return size;
}

std::optional<std::uint16_t> ConfigFileVersion(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) return std::nullopt;
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

DecodeStatus DecodeConfig(std::span<const std::uint8_t> bytes, GameConfig& config) {
    const std::optional<std::uint16_t> file_version = ConfigFileVersion(bytes);
    if (!file_version) return DecodeStatus::kNoVersion;
    const std::uint16_t version = *file_version;
    ByteReader r(bytes.subspan(2));
    if (version > kCurrentConfigVersion) return DecodeStatus::kTooNew;
    // Decode into a fresh record so that a failure leaves the caller's record as it was.
    GameConfig fresh;
    ClearConfig(fresh);
    PatternList allowed, denied;
    try {
        DecodeInto(r, version, fresh, allowed, denied);
        // Growing the record's lists changes none of their entries; after this nothing
        // allocates, so nothing can fail.
        config.allowed_patterns.reserve(allowed.count);
        config.denied_patterns.reserve(denied.count);
    } catch (const std::bad_alloc&) {
        return DecodeStatus::kOutOfMemory;
    }
    config.options = fresh.options;
    std::memcpy(config.connect_id, fresh.connect_id, sizeof config.connect_id);
    std::memcpy(config.connect_addresses, fresh.connect_addresses, sizeof config.connect_addresses);
    config.opaque_word_1 = fresh.opaque_word_1;
    config.allowed_only = fresh.allowed_only;
    StorePatterns(allowed, config.allowed_patterns);
    StorePatterns(denied, config.denied_patterns);
    config.opaque_records = std::move(fresh.opaque_records);
    config.opaque_word_2 = fresh.opaque_word_2;
    std::memcpy(config.function_messages, fresh.function_messages, sizeof config.function_messages);
    return DecodeStatus::kOk;
}

bool EncodeConfig(const GameConfig& c, std::vector<std::uint8_t>& out) {
    // The counts are stored in 16 and 8 bits; the record never holds more than that.
    std::size_t allowed = std::min(c.allowed_patterns.size(), kMaxPatterns);
    std::size_t denied = std::min(c.denied_patterns.size(), kMaxPatterns);
    std::size_t records = std::min(c.opaque_records.size(), kMaxOpaqueRecords);
    if (allowed != c.allowed_patterns.size() || denied != c.denied_patterns.size() ||
        records != c.opaque_records.size()) {
        out.clear();
        return false;
    }
    try {
        out.assign(EncodedConfigSize(allowed, denied, records), 0);
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
    ByteWriter w(out.data());
    w.U16(kCurrentConfigVersion);
    WriteOptionBlock(w, c.options);
    w.Bytes(c.connect_id, sizeof c.connect_id);
    for (const ConnectAddress& a : c.connect_addresses) w.Bytes(a.octets, 4);
    w.U32(c.opaque_word_1);
    w.I32(c.allowed_only);
    WritePatterns(w, c.allowed_patterns);
    WritePatterns(w, c.denied_patterns);
    w.U8(static_cast<std::uint8_t>(records));
    for (const OpaqueRecord& rec : c.opaque_records) w.Bytes(rec.bytes, sizeof rec.bytes);
    w.U32(c.opaque_word_2);
    for (const FunctionMessage& m : c.function_messages) {
        w.Bytes(m.text, sizeof m.text);
        w.U8(m.target);
    }
    return w.Position() == out.size();
}
