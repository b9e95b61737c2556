// Reading a JSON document with RapidJSON's reader, event by event, each event with its
// path ($.players[0].key_map[3]) and its place in the text; and naming a place by line
// and column. What a document means is its reader's business (apply_document.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// JSON's white space: space, tab, CR and LF.
inline bool IsJsonSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }

// A place in a document: a byte offset in the text as read.
using JsonPlace = std::size_t;
inline constexpr JsonPlace kNoPlace = static_cast<JsonPlace>(-1);

// Where a member or an element stands: its name or index, and where the reading of it
// began (what came before it ended there: spaces, a colon or a comma follow).
struct JsonPathStep {
    std::string name;        // a member's name; empty for an element
    std::size_t index = 0;   // an element's index
    bool element = false;
    std::size_t after = 0;
};

class JsonPath {
public:
    std::string_view text;   // the document, as read
    std::vector<JsonPathStep> steps;

    std::size_t Depth() const { return steps.size(); }
    const JsonPathStep& Last() const { return steps.back(); }
    // Where the value at the path starts (a member at its name); found only when asked,
    // since most values are never asked about.
    JsonPlace Place() const;
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
    std::string TypeName() const;
};

// What a handler makes of an object or array that begins.
enum class JsonOpen {
    kSkip,          // nothing of what it holds, nor its Close
    kRead,          // each of its events
    kReadStrings,   // each of its events; its elements are strings read as they stand, and
                    // a run of plain ones (printable ASCII without an escape) is read at once,
                    // each offered to TakePlainString before it is told to Scalar
};

// What a document's reader is told, in the order of the text.
class JsonHandler {
public:
    virtual ~JsonHandler() = default;
    virtual void Scalar(const JsonPath& path, const JsonScalar& value) = 0;
    virtual JsonOpen Open(const JsonPath& path, bool object) = 0;
    virtual void Close(const JsonPath& path, bool object, std::size_t count) = 0;
    // A plain string element of an array opened with kReadStrings, offered before its
    // path is made: true when the handler took it as it stands; false, having taken
    // nothing, to have it told to Scalar with its path. At least `room` bytes of the
    // document can be read after `text` (its closing quotation mark first).
    virtual bool TakePlainString(std::string_view /*text*/, std::size_t /*room*/) { return false; }
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
    std::string converted_;
    std::string_view text_;
    // The last place asked for, from which the next is counted.
    mutable std::size_t cursor_ = 0, line_ = 1, column_ = 1;
};
