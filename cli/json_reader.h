// Reading a JSON document with RapidJSON's reader, event by event, each event with its
// path ($.players[0].key_map[3]) and its place in the text; and naming a place by line
// and column. What a document means is its reader's business (apply_document.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A place in a document: a byte offset in the text as read, or the number of the
// reader's event that stands there (a value, a member's name, the start of an object or
// array, counted from 0 in the order of the text), whose offset is found only when a
// message asks for it.
struct JsonPlace {
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t offset = kNone;
    std::size_t event = kNone;
};

// Where a member or an element stands: its name or index, and its event (a member's
// name, an element's value).
struct JsonPathStep {
    std::string name;        // a member's name; empty for an element
    std::size_t index = 0;   // an element's index
    bool element = false;
    std::size_t event = 0;
};

class JsonPath {
public:
    std::vector<JsonPathStep> steps;

    std::size_t Depth() const { return steps.size(); }
    const JsonPathStep& Last() const { return steps.back(); }
    // Where the value at the path stands (a member at its name).
    JsonPlace Place() const { return steps.empty() ? JsonPlace{0, JsonPlace::kNone} : JsonPlace{JsonPlace::kNone, steps.back().event}; }
    // "$", "$.options.screen_size", "$.players[0].key_map[3]".
    std::string Text() const;
};

struct JsonScalar {
    enum Type { kNull, kBool, kWhole, kTooBig, kFraction, kString } type = kNull;
    bool boolean = false;
    std::int64_t whole = 0;       // kWhole
    std::uint64_t too_big = 0;    // kTooBig: above the signed 64-bit range
    std::string_view text;        // kString: valid during the call

    // "a string", "a whole number", ..., for "expected ..., not ...".
    const char* TypeName() const;
};

// What a document's reader is told, in the order of the text.
class JsonHandler {
public:
    virtual ~JsonHandler() = default;
    virtual void Scalar(const JsonPath& path, const JsonScalar& value) = 0;
    // An object or array begins; false skips what it holds, and its Close.
    virtual bool Open(const JsonPath& path, bool object) = 0;
    virtual void Close(const JsonPath& path, bool object, std::size_t count) = 0;
};

// A mistake in a document, at its place.
struct JsonMistake {
    JsonPlace at;
    std::string path;       // where there is one
    std::string text;       // what was expected, or what is wrong
};

// One document's text and its reading.
class JsonText {
public:
    // The bytes of a document: UTF-8 (a byte-order mark at the start skipped), or UTF-16
    // with its byte-order mark (what a Windows shell's ">" writes).
    explicit JsonText(std::string_view bytes);

    std::size_t Size() const { return text_.size(); }

    // Reads the document, telling `handler` every event; false when the text is no JSON
    // document, with `mistake` saying where and what was expected.
    bool Read(JsonHandler& handler, JsonMistake& mistake) const;

    // "LINE:COLUMN" of a place (from 1; the column counted in characters), empty for
    // none. Fastest asked in the order of the text.
    std::string PlaceOf(JsonPlace at) const;

    // "SOURCE:LINE:COLUMN: PATH: TEXT", as qorcfg names a mistake.
    std::string Describe(const std::string& source, const JsonMistake& mistake) const;

private:
    std::size_t OffsetOf(JsonPlace at) const;

    std::string converted_;
    std::string_view text_;
    // Where each event of the reading starts, found by reading the text once more the
    // first time a place is asked for by its event.
    mutable std::vector<std::size_t> event_offsets_;
    // The last place asked for, from which the next is counted.
    mutable std::size_t cursor_ = 0, line_ = 1, column_ = 1;
};
