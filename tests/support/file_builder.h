// Builds configuration file bytes in tests, item by item, independently of the codec.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class FileBuilder {
public:
    FileBuilder& U8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    FileBuilder& U16(std::uint16_t v) { return U8(v & 0xff).U8(v >> 8); }
    FileBuilder& I32(std::int32_t v) {
        auto u = static_cast<std::uint32_t>(v);
        return U8(u & 0xff).U8((u >> 8) & 0xff).U8((u >> 16) & 0xff).U8(u >> 24);
    }
    FileBuilder& Fill(std::size_t n, std::uint8_t v) {
        bytes.insert(bytes.end(), n, v);
        return *this;
    }
    FileBuilder& Raw(const std::vector<std::uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    FileBuilder& Text(const std::string& text, std::size_t field) {
        for (std::size_t i = 0; i < field; ++i)
            U8(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};

}  // namespace testing_support
