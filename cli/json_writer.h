// How qorcfg writes JSON: with RapidJSON's writer, indented by two, and a container of
// scalars alone ({"value", "meaning"}, a key map) on one line. Output is UTF-8 whatever
// the text it is given.
#pragma once

#include <string>
#include <string_view>

#include "cli/json.h"

class JsonOut {
public:
    using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;
    using LineWriter = rapidjson::Writer<rapidjson::StringBuffer>;

    JsonOut() : writer_(buffer_) { writer_.SetIndent(' ', 2); }

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

    // What was written, with a line break after it.
    std::string Text() const { return std::string(buffer_.GetString(), buffer_.GetSize()) + "\n"; }

    template <typename AnyWriter>
    static void PutString(AnyWriter& writer, std::string_view text) {
        const std::string valid = ValidUtf8(text);
        writer.String(valid.data(), static_cast<rapidjson::SizeType>(valid.size()));
    }

private:
    static std::string ValidUtf8(std::string_view text);

    rapidjson::StringBuffer buffer_;
    Writer writer_;
    rapidjson::StringBuffer line_buffer_;
};

// A text in quotes with JSON's escapes, for the text forms: a line break in a message
// shows as \r\n rather than breaking the listing.
std::string QuotedText(std::string_view utf8);
