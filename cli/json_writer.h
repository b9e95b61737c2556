// How qorcfg writes JSON: with RapidJSON's writer, indented by two, and a container of
// scalars alone ({"value", "meaning"}, a key map) on one line. Output is UTF-8 whatever
// the text it is given.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "cli/json.h"
#include "config/game_config.h"

// The output stream the writer writes a document to: one growing buffer. Its bytes are
// stored as char8_t, the type of no other object here, so that the writer's loops keep
// their place in a register rather than reading it back after every byte they store (a
// char may be any object, and a show --json of the largest file is 2.7 MB).
class JsonBuffer {
public:
    using Ch = char;
    explicit JsonBuffer(std::size_t expected) { Grow(expected < 4096 ? 4096 : expected); }
    void Reserve(std::size_t count) {
        if (static_cast<std::size_t>(end_ - top_) < count) Grow(count);
    }
    void PutUnsafe(char ch) { *top_++ = static_cast<char8_t>(ch); }
    void PutN(char ch, std::size_t count) {
        Reserve(count);
        for (std::size_t i = 0; i < count; ++i) top_[i] = static_cast<char8_t>(ch);
        top_ += count;
    }
    void Put(char ch) {
        Reserve(1);
        PutUnsafe(ch);
    }
    void Flush() {}
    // Room for at most `most` bytes written at once, and where the writing ended.
    char* Room(std::size_t most) {
        Reserve(most);
        return reinterpret_cast<char*>(top_);
    }
    void Used(char* end) { top_ = reinterpret_cast<char8_t*>(end); }
    std::string_view View() const { return {reinterpret_cast<const char*>(data_.get()), Size()}; }

private:
    std::size_t Size() const { return static_cast<std::size_t>(top_ - data_.get()); }
    void Grow(std::size_t count);

    std::unique_ptr<char8_t[]> data_;
    char8_t* top_ = nullptr;
    char8_t* end_ = nullptr;
};

// What the writer calls to write runs of bytes to the buffer, found for it by its type.
inline void PutReserve(JsonBuffer& buffer, std::size_t count) { buffer.Reserve(count); }
inline void PutUnsafe(JsonBuffer& buffer, char ch) { buffer.PutUnsafe(ch); }
inline void PutN(JsonBuffer& buffer, char ch, std::size_t count) { buffer.PutN(ch, count); }

class JsonOut {
public:
    using Writer = rapidjson::PrettyWriter<JsonBuffer>;
    using LineWriter = rapidjson::Writer<rapidjson::StringBuffer>;

    // Room for `expected` bytes from the start, so that a long document is not moved as it grows.
    explicit JsonOut(std::size_t expected = 0) : buffer_(expected), writer_(buffer_) { writer_.SetIndent(' ', 2); }

    Writer& operator*() { return writer_; }
    Writer* operator->() { return &writer_; }

    // A string of any bytes: one that starts no UTF-8 sequence becomes U+FFFD.
    void String(std::string_view text) { PutString(writer_, text); }
    void Key(std::string_view name) { writer_.Key(name.data(), static_cast<rapidjson::SizeType>(name.size())); }

    // An object of scalars, whose members `write` writes, on one line.
    template <typename Write>
    void LineObject(Write write) {
        line_buffer_.Clear();
        LineWriter line(line_buffer_);
        line.StartObject();
        write(line);
        line.EndObject();
        writer_.RawValue(line_buffer_.GetString(), line_buffer_.GetSize(), rapidjson::kObjectType);
    }

    // An array of scalars, whose elements `write` writes, on one line.
    template <typename Write>
    void LineArray(Write write) {
        writer_.SetFormatOptions(rapidjson::kFormatSingleLineArray);
        writer_.StartArray();
        write(writer_);
        writer_.EndArray();
        writer_.SetFormatOptions(rapidjson::kFormatDefault);
    }

    // An array of address strings, each on its own line, `depth` containers deep.
    void AddressArray(std::span<const AddressPattern> entries, int depth);

    // What was written, with a line break after it; once the document is whole.
    std::string_view Text() {
        if (!ended_) buffer_.Put('\n');
        ended_ = true;
        return buffer_.View();
    }

    template <typename AnyWriter>
    static void PutString(AnyWriter& writer, std::string_view text) {
        const std::string valid = ValidUtf8(text);
        writer.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
    }

private:
    static std::string ValidUtf8(std::string_view text);

    JsonBuffer buffer_;
    Writer writer_;
    rapidjson::StringBuffer line_buffer_;
    bool ended_ = false;
};

// A text in quotes with JSON's escapes, for the text forms: a line break in a message
// shows as \r\n rather than breaking the listing.
std::string QuotedText(std::string_view utf8);
