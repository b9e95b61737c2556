// Byte layout of Data\GameConfig.dat for every version, as a pair of pure functions.
#include "config/config_codec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kOptionBlockBytes = sizeof(OptionBlock);

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

// Little-endian writer appending to a buffer with its room reserved in advance: each byte
// is written once, rather than zeroed first and then overwritten (a large list is most of
// a file, and would be gone over twice).
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void Bytes(const void* in, std::size_t n) {
        const auto* bytes = static_cast<const std::uint8_t*>(in);
        out_.insert(out_.end(), bytes, bytes + n);
    }
    void U8(std::uint8_t v) { out_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) U8(static_cast<std::uint8_t>(v >> shift));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    std::size_t Position() const { return out_.size(); }

private:
    std::vector<std::uint8_t>& out_;
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

const std::uint8_t* ItemBytes(const FileItem& item, const GameConfig& c) {
    // The accessor only names the place; nothing is written through it here.
    return static_cast<const std::uint8_t*>(item.at(const_cast<GameConfig&>(c)));
}

std::uint8_t* ItemBytes(const FileItem& item, GameConfig& c) { return static_cast<std::uint8_t*>(item.at(c)); }

std::vector<AddressPattern>& Patterns(GameConfig& c, FileList list) {
    return list == FileList::kAllowed ? c.allowed_patterns : c.denied_patterns;
}

const std::vector<AddressPattern>& Patterns(const GameConfig& c, FileList list) {
    return list == FileList::kAllowed ? c.allowed_patterns : c.denied_patterns;
}

std::size_t ListSize(const GameConfig& c, FileList list) {
    return list == FileList::kRecords ? c.opaque_records.size() : Patterns(c, list).size();
}

void DecodeInto(ByteReader& r, std::uint16_t version, GameConfig& c, PatternList (&lists)[kFileItemCount]) {
    for (int id = 0; id < kFileItemCount; ++id) {
        const FileItem& item = file_items[id];
        if (!FileItemHeld(item, version)) continue;
        switch (item.kind) {
            case FileItemKind::kVersion: r.U16(); break;
            case FileItemKind::kOptionBlock: {
                // Only the prefix that the version holds comes from the file; the rest
                // takes the migration defaults.
                std::uint8_t block[kOptionBlockBytes] = {};
                r.Bytes(block, OptionPrefixBytes(version));
                ByteReader block_reader(block);
                ReadOptionBlock(block_reader, c.options);
                for (int field_id = 0; field_id < kOptionFieldCount; ++field_id) {
                    const OptionField& field = option_fields[field_id];
                    if (field.is_value && !OptionFieldHeld(field, version))
                        SetOptionFieldValue(c.options, static_cast<OptionFieldId>(field_id), field.migration_default);
                }
                break;
            }
            case FileItemKind::kBytes: r.Bytes(ItemBytes(item, c), item.size); break;
            case FileItemKind::kWord: {
                const std::uint32_t word = r.U32();
                std::memcpy(ItemBytes(item, c), &word, sizeof word);
                break;
            }
            case FileItemKind::kList:
                if (item.list == FileList::kRecords) {
                    c.opaque_records.assign(r.U8(), OpaqueRecord{});
                    for (OpaqueRecord& rec : c.opaque_records) r.Bytes(rec.bytes, sizeof rec.bytes);
                } else {
                    ReadPatterns(r, lists[id]);
                }
                break;
        }
    }
}

// Moves the decoded record into the caller's, item by item; allocates nothing once the
// pattern lists have their capacity, so it cannot fail.
void CopyDecoded(GameConfig& fresh, const PatternList (&lists)[kFileItemCount], GameConfig& config) {
    for (int id = 0; id < kFileItemCount; ++id) {
        const FileItem& item = file_items[id];
        switch (item.kind) {
            case FileItemKind::kVersion: break;
            case FileItemKind::kOptionBlock: config.options = fresh.options; break;
            case FileItemKind::kBytes:
            case FileItemKind::kWord: std::memcpy(ItemBytes(item, config), ItemBytes(item, fresh), item.size); break;
            case FileItemKind::kList:
                if (item.list == FileList::kRecords) config.opaque_records = std::move(fresh.opaque_records);
                else StorePatterns(lists[id], Patterns(config, item.list));
                break;
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
    std::vector<ConfigLayoutItem> items;
    for (const FileItem& item : file_items) {
        if (!FileItemHeld(item, version)) continue;
        switch (item.kind) {
            case FileItemKind::kOptionBlock: items.push_back({item.name, OptionPrefixBytes(version)}); break;
            case FileItemKind::kList: {
                const std::size_t count = item.list == FileList::kAllowed  ? allowed
                                          : item.list == FileList::kDenied ? denied
                                                                           : records;
                items.push_back({item.count_name, FileListCountBytes(item.list)});
                items.push_back({item.name, item.size * count});
                break;
            }
            default: items.push_back({item.name, item.size}); break;
        }
    }
    return items;
}

std::vector<std::string> MigrationDefaults(std::uint16_t version) {
    std::vector<std::string> parts;
    for (const OptionField& field : option_fields)
        if (field.is_value && !OptionFieldHeld(field, version))
            parts.push_back(std::string(field.name) + " " + std::to_string(field.migration_default));
    for (const FileItem& item : file_items)
        if (!FileItemHeld(item, version)) parts.emplace_back(item.when_missing);
    return parts;
}

std::string MigrationDefaultsText(std::uint16_t version) {
    const std::vector<std::string> parts = MigrationDefaults(version);
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text;
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
    if (version > kCurrentConfigVersion) return DecodeStatus::kTooNew;
    ByteReader r(bytes);
    // Decode into a fresh record so that a failure leaves the caller's record as it was.
    GameConfig fresh;
    ClearConfig(fresh);
    PatternList lists[kFileItemCount];
    try {
        DecodeInto(r, version, fresh, lists);
        // Growing the record's lists changes none of their entries; after this nothing
        // allocates, so nothing can fail.
        config.allowed_patterns.reserve(lists[kAllowedItem].count);
        config.denied_patterns.reserve(lists[kDeniedItem].count);
    } catch (const std::bad_alloc&) {
        return DecodeStatus::kOutOfMemory;
    }
    CopyDecoded(fresh, lists, config);
    return DecodeStatus::kOk;
}

bool EncodeConfig(const GameConfig& c, std::vector<std::uint8_t>& out) {
    // The counts are stored in 16 and 8 bits; the record never holds more than that.
    for (const FileItem& item : file_items) {
        if (item.kind == FileItemKind::kList && ListSize(c, item.list) > FileListMost(item.list)) {
            out.clear();
            return false;
        }
    }
    std::size_t size = 0;
    out.clear();
    try {
        size = EncodedConfigSize(c.allowed_patterns.size(), c.denied_patterns.size(), c.opaque_records.size());
        out.reserve(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    ByteWriter w(out);
    for (const FileItem& item : file_items) {
        switch (item.kind) {
            case FileItemKind::kVersion: w.U16(kCurrentConfigVersion); break;
            case FileItemKind::kOptionBlock: WriteOptionBlock(w, c.options); break;
            case FileItemKind::kBytes: w.Bytes(ItemBytes(item, c), item.size); break;
            case FileItemKind::kWord: {
                std::uint32_t word;
                std::memcpy(&word, ItemBytes(item, c), sizeof word);
                w.U32(word);
                break;
            }
            case FileItemKind::kList:
                if (item.list == FileList::kRecords) {
                    w.U8(static_cast<std::uint8_t>(c.opaque_records.size()));
                    for (const OpaqueRecord& rec : c.opaque_records) w.Bytes(rec.bytes, sizeof rec.bytes);
                } else {
                    WritePatterns(w, Patterns(c, item.list));
                }
                break;
        }
    }
    return w.Position() == size;
}
