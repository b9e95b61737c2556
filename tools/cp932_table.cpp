// Writes the CP932 tables of the native builds (text/cp932_table_posix.h) from this
// machine's C library converter, when the tree is built: what each byte and each pair of
// bytes reads as, and the bytes of every character that reads back as itself. The
// program then converts with tables of its own, and a statically linked qorcfg loads no
// converter modules from the host it runs on.
//   cp932_table OUTPUT.cpp
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "text/cp932_table_posix.h"
#include "tools/whole_file.h"

namespace {

bool IsLead(unsigned byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "cp932_table: %s\n", why.c_str());
    std::exit(1);
}

// Converts all of `in` with one converter, reset before each use; false when it refuses
// any of it.
bool Convert(iconv_t converter, const std::string& in, std::string& out) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* source = const_cast<char*>(in.data());
    std::size_t source_left = in.size();
    char* target = buffer;
    std::size_t target_left = sizeof buffer;
    if (iconv(converter, &source, &source_left, &target, &target_left) == static_cast<std::size_t>(-1) ||
        source_left != 0)
        return false;
    out.assign(buffer, sizeof buffer - target_left);
    return true;
}

// What CP932 bytes read as: one UTF-16 unit, or kNoCp932Character when the converter
// refuses them.
// Anything else (two units, a surrogate) would need a table of another shape.
std::uint16_t Read(iconv_t from_cp932, const std::string& bytes) {
    std::string utf16;
    if (!Convert(from_cp932, bytes, utf16)) return kNoCp932Character;
    if (utf16.size() != 2) Fail("a CP932 character reads as more than one UTF-16 unit");
    const auto unit = static_cast<std::uint16_t>(static_cast<unsigned char>(utf16[0]) |
                                                 static_cast<unsigned char>(utf16[1]) << 8);
    if (unit == kNoCp932Character || (unit >= 0xD800 && unit <= 0xDFFF)) Fail("a CP932 character reads as a surrogate or U+FFFF");
    return unit;
}

std::string Utf16Le(unsigned unit) { return {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)}; }

std::string Row(const std::uint16_t* values, int count) {
    std::string text;
    char number[16];
    for (int i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "0x%04X,%s", values[i], i % 12 == 11 ? "\n" : " ");
        text += number;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) Fail("usage: cp932_table OUTPUT.cpp");
    iconv_t from_cp932 = iconv_open("UTF-16LE", "CP932");
    iconv_t to_cp932 = iconv_open("CP932", "UTF-16LE");
    if (from_cp932 == reinterpret_cast<iconv_t>(-1) || to_cp932 == reinterpret_cast<iconv_t>(-1))
        Fail("this machine's C library has no CP932 converter");

    std::uint16_t bytes[256];
    std::vector<std::uint16_t> pairs;  // 60 rows of 256, the lead bytes in order
    for (unsigned byte = 0; byte < 256; ++byte) {
        bytes[byte] = IsLead(byte) ? kNoCp932Character : Read(from_cp932, std::string(1, static_cast<char>(byte)));
        if (!IsLead(byte)) continue;
        for (unsigned trail = 0; trail < 256; ++trail)
            pairs.push_back(Read(from_cp932, {static_cast<char>(byte), static_cast<char>(trail)}));
    }
    // What a character reads back as, by its code (one byte below 0x100, else lead << 8 | trail).
    auto read_back = [&](unsigned code) {
        if (code < 0x100) return bytes[code];
        return pairs[Cp932LeadRow(code >> 8) * 256 + (code & 0xFF)];
    };

    // Every character reads as one unit of the Basic Multilingual Plane, so no other
    // character can read back as itself.
    std::map<unsigned, unsigned> codes;  // character -> code, for those that read back as themselves
    for (unsigned code_point = 0; code_point < 0x10000; ++code_point) {
        if (code_point >= 0xD800 && code_point <= 0xDFFF) continue;
        std::string cp932;
        if (!Convert(to_cp932, Utf16Le(code_point), cp932) || cp932.empty()) continue;
        if (cp932.size() > 2 || (cp932.size() == 2) != IsLead(static_cast<unsigned char>(cp932[0])))
            Fail("a character takes bytes that are no CP932 character");
        const unsigned code = cp932.size() == 1 ? static_cast<unsigned char>(cp932[0])
                                                : static_cast<unsigned char>(cp932[0]) << 8 | static_cast<unsigned char>(cp932[1]);
        if (read_back(code) != code_point) continue;  // a one-way form: not this table's
        codes[code_point] = code;
    }
    iconv_close(from_cp932);
    iconv_close(to_cp932);
    if (codes.size() < 7000) Fail("the converter knows only " + std::to_string(codes.size()) + " characters");

    std::string text =
        "// Written by tools/cp932_table.cpp from the CP932 converter of the machine that built\n"
        "// this tree. Do not edit.\n"
        "#include \"text/cp932_table_posix.h\"\n\n"
        "const std::uint16_t kCp932Bytes[256] = {\n" + Row(bytes, 256) + "};\n\n"
        "const std::uint16_t kCp932Pairs[60][256] = {\n";
    for (int row = 0; row < 60; ++row) text += "{\n" + Row(&pairs[row * 256], 256) + "},\n";
    text += "};\n\nconst Cp932Code kCp932Codes[] = {\n";
    char entry[32];
    for (const auto& [character, code] : codes) {
        std::snprintf(entry, sizeof entry, "{0x%04X, 0x%04X},\n", character, code);
        text += entry;
    }
    text += "};\n\nconst std::size_t kCp932CodeCount = " + std::to_string(codes.size()) + ";\n";

    if (!WriteWholeFile(argv[1], text)) Fail(std::string("cannot write ") + argv[1]);
    return 0;
}
