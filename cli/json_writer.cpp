// Writing JSON with RapidJSON's writer.
#include "cli/json_writer.h"

#include <algorithm>

#include "cli/terminal_text.h"
#include "model/address_text.h"

void JsonBuffer::Grow(std::size_t count) {
    const std::size_t size = Size();
    const std::size_t capacity = std::max(size + count, 2 * static_cast<std::size_t>(end_ - data_.get()));
    std::unique_ptr<char8_t[]> grown(new char8_t[capacity]);
    std::copy(data_.get(), top_, grown.get());
    data_ = std::move(grown);
    top_ = data_.get() + size;
    end_ = data_.get() + capacity;
}

void JsonOut::AddressArray(std::span<const AddressPattern> entries, int depth) {
    if (entries.empty()) {
        writer_.StartArray();
        writer_.EndArray();
        return;
    }
    // The writer places the array (with the comma, line break and indent before it), and
    // its text follows at once, written here: an address needs no escape, and a list of
    // 65535 given to the writer a byte at a time would take longer than all the rest.
    writer_.RawValue("[", 0, rapidjson::kArrayType);
    const std::size_t indent = 2 * static_cast<std::size_t>(depth + 1);
    // Each entry: a line break, the indent, the quoted address, a comma; then the last
    // line break, the indent of the array itself and "]".
    char* const start = buffer_.Room(entries.size() * (indent + kAddressTextMax + 4) + indent + 2);
    char* p = start;
    *p++ = '[';
    for (const AddressPattern& entry : entries) {
        *p++ = '\n';
        p = std::fill_n(p, indent, ' ');
        *p++ = '"';
        p = WriteAddressText(p, entry.octets[0], entry.octets[1], entry.octets[2], entry.octets[3]);
        *p++ = '"';
        *p++ = ',';
    }
    p[-1] = '\n';
    p = std::fill_n(p, indent - 2, ' ');
    *p++ = ']';
    buffer_.Used(p);
}

std::string JsonOut::ValidUtf8(std::string_view text) {
    std::string valid;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t good = Utf8MistakeAt(text.substr(at));
        valid.append(text.substr(at, good));
        at += good;
        if (at < text.size()) {
            valid.append("\xEF\xBF\xBD");
            ++at;
        }
    }
    return valid;
}

std::string QuotedText(std::string_view utf8) {
    rapidjson::StringBuffer buffer;
    JsonOut::LineWriter writer(buffer);
    JsonOut::PutString(writer, utf8);
    return std::string(buffer.GetString(), buffer.GetSize());
}
