// Reading JSON documents with RapidJSON's reader: its events with their paths and
// places, and its mistakes in words.
#include "cli/json_reader.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "cli/json.h"
#include "cli/list_text.h"
#include "cli/terminal_text.h"

namespace {

using rapidjson::ParseErrorCode;

// What the reader expected where it stopped, in words.
struct Expectation {
    ParseErrorCode code;
    const char* text;
};

const Expectation kExpectations[] = {
    {rapidjson::kParseErrorDocumentEmpty, "expected a JSON document, not empty text"},
    {rapidjson::kParseErrorDocumentRootNotSingular, "expected nothing but spaces after the document"},
    {rapidjson::kParseErrorValueInvalid, "expected a value: an object, an array, a string, a number, true, false or null"},
    {rapidjson::kParseErrorObjectMissName, "expected a member's name in double quotes"},
    {rapidjson::kParseErrorObjectMissColon, "expected \":\" after the member's name"},
    {rapidjson::kParseErrorObjectMissCommaOrCurlyBracket, "expected \",\" or \"}\" after the member"},
    {rapidjson::kParseErrorArrayMissCommaOrSquareBracket, "expected \",\" or \"]\" after the element"},
    {rapidjson::kParseErrorStringUnicodeEscapeInvalidHex, "expected four hexadecimal digits after \\u"},
    {rapidjson::kParseErrorStringUnicodeSurrogateInvalid,
     "expected the second half of a surrogate pair (\\uDC00 to \\uDFFF) after its first"},
    {rapidjson::kParseErrorStringEscapeInvalid, "expected an escape \\\" \\\\ \\/ \\b \\f \\n \\r \\t or \\uXXXX"},
    {rapidjson::kParseErrorStringMissQuotationMark, "expected the string's closing quotation mark"},
    {rapidjson::kParseErrorStringInvalidEncoding, "expected text in UTF-8"},
    {rapidjson::kParseErrorNumberTooBig, "expected a number that a double can hold"},
    {rapidjson::kParseErrorNumberMissFraction, "expected a digit after the decimal point"},
    {rapidjson::kParseErrorNumberMissExponent, "expected a digit in the exponent"},
};
const char kControlInString[] = "expected an escape for a control character in a string";
const char kAtTheEnd[] = ", not the end of the document";
const char kNoJson[] = "expected JSON";

std::string ExpectedText(ParseErrorCode code, std::string_view text, std::size_t at) {
    std::string expected = kNoJson;
    for (const Expectation& e : kExpectations)
        if (e.code == code) expected = e.text;
    if (code == rapidjson::kParseErrorStringEscapeInvalid && at < text.size() && text[at] != '\\') expected = kControlInString;
    if (at >= text.size() && code != rapidjson::kParseErrorDocumentEmpty) expected += kAtTheEnd;
    return expected;
}

JsonScalar Of(JsonScalar::Type type) {
    JsonScalar value;
    value.type = type;
    return value;
}

// RapidJSON's events as one call each: Scalar(value), Begin(object), End(object, count)
// and Key(name) in Target, which is told them.
template <typename Target>
class Events {
public:
    explicit Events(Target& target) : target_(target) {}
    bool Null() { return target_.Scalar(Of(JsonScalar::kNull)); }
    bool Bool(bool b) {
        JsonScalar value = Of(JsonScalar::kBool);
        value.boolean = b;
        return target_.Scalar(value);
    }
    bool Int(int i) { return Whole(i); }
    bool Uint(unsigned u) { return Whole(u); }
    bool Int64(std::int64_t i) { return Whole(i); }
    bool Uint64(std::uint64_t u) {
        if (u <= static_cast<std::uint64_t>(INT64_MAX)) return Whole(static_cast<std::int64_t>(u));
        JsonScalar big = Of(JsonScalar::kTooBig);
        big.too_big = u;
        return target_.Scalar(big);
    }
    bool Double(double) { return target_.Scalar(Of(JsonScalar::kFraction)); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }  // not asked for
    bool String(const char* text, rapidjson::SizeType length, bool) {
        JsonScalar value = Of(JsonScalar::kString);
        value.text = {text, length};
        return target_.Scalar(value);
    }
    bool Key(const char* text, rapidjson::SizeType length, bool) { return target_.Key({text, length}); }
    bool StartObject() { return target_.Begin(true); }
    bool StartArray() { return target_.Begin(false); }
    bool EndObject(rapidjson::SizeType members) { return target_.End(true, members); }
    bool EndArray(rapidjson::SizeType elements) { return target_.End(false, elements); }

private:
    bool Whole(std::int64_t i) {
        JsonScalar value = Of(JsonScalar::kWhole);
        value.whole = i;
        return target_.Scalar(value);
    }

    Target& target_;
};

// Each event told to the handler with its path; the path is kept inside what the
// handler skips too, for the place of a mistake.
class Reading {
public:
    explicit Reading(JsonHandler& handler) : handler_(handler) {}

    bool Scalar(const JsonScalar& value) {
        Enter();
        if (!Skipping()) handler_.Scalar(path_, value);
        Completed();
        return true;
    }
    bool Key(std::string_view name) {
        JsonPathStep& step = path_.steps.back();
        step.name.assign(name);
        step.element = false;
        step.event = event_++;
        levels_.back().pending = true;
        return true;
    }
    bool Begin(bool object) {
        Enter();
        if (!Skipping() && !handler_.Open(path_, object)) skip_from_ = levels_.size();
        levels_.push_back({object});
        path_.steps.emplace_back();
        return true;
    }
    bool End(bool object, std::size_t count) {
        levels_.pop_back();
        path_.steps.pop_back();
        if (skip_from_ == levels_.size()) skip_from_ = kNotSkipping;
        else if (!Skipping()) handler_.Close(path_, object, count);
        Completed();
        return true;
    }

    // The path of what the reader was reading when it stopped.
    std::string PathAtMistake() {
        if (!levels_.empty() && !levels_.back().object) {
            path_.steps.back().element = true;
            path_.steps.back().index = levels_.back().count;
        }
        if (!levels_.empty() && levels_.back().object && !levels_.back().pending) path_.steps.pop_back();
        return path_.steps.empty() ? "" : path_.Text();
    }

private:
    struct Level {
        bool object;
        std::size_t count = 0;  // members or elements read
        bool pending = false;   // an object's member named, its value not yet read
    };

    // A value begins: in an array, it is the next element; in an object, its member
    // stands at its name.
    void Enter() {
        const std::size_t event = event_++;
        if (levels_.empty() || levels_.back().object) return;
        JsonPathStep& step = path_.steps.back();
        step.element = true;
        step.index = levels_.back().count;
        step.event = event;
    }
    void Completed() {
        if (levels_.empty()) return;
        ++levels_.back().count;
        levels_.back().pending = false;
    }
    bool Skipping() const { return skip_from_ != kNotSkipping; }

    JsonHandler& handler_;
    JsonPath path_;
    std::vector<Level> levels_;
    std::size_t event_ = 0;
    // The depth of the container the handler skips, whose contents it is not told of.
    static constexpr std::size_t kNotSkipping = static_cast<std::size_t>(-1);
    std::size_t skip_from_ = kNotSkipping;
};

// Where each event starts in the text, found from the events alone: after where the
// last token ended, past the spaces, the colon or the comma between them; and where the
// token at the start ends (a string at its closing quote, a number past its digits).
class Starts {
public:
    Starts(std::string_view text, std::vector<std::size_t>& starts) : text_(text), starts_(starts) {}
    bool Scalar(const JsonScalar&) { return Token(); }
    bool Key(std::string_view) { return Token(); }
    bool Begin(bool) {
        starts_.push_back(Skip(end_));
        end_ = starts_.back() + 1;
        return true;
    }
    bool End(bool, std::size_t) {
        end_ = Skip(end_) + 1;  // the closing bracket
        return true;
    }

private:
    std::size_t Skip(std::size_t at) const {
        while (at < text_.size() && std::string_view(" \t\r\n:,").find(text_[at]) != std::string_view::npos) ++at;
        return at;
    }
    bool Token() {
        std::size_t at = Skip(end_);
        starts_.push_back(at);
        if (at < text_.size() && text_[at] == '"') {
            for (++at; at < text_.size() && text_[at] != '"'; at += text_[at] == '\\' ? 2 : 1) {}
            end_ = at + 1;
        } else {
            while (at < text_.size() && std::string_view(" \t\r\n:,]}").find(text_[at]) == std::string_view::npos) ++at;
            end_ = at;
        }
        return true;
    }

    std::string_view text_;
    std::vector<std::size_t>& starts_;
    std::size_t end_ = 0;
};

// Reads `text` with RapidJSON's reader, in place on a copy, telling `target` each event.
// The reader unescapes each string where it stands and scans its strings sixteen bytes
// at a time; the text stays as it was. A NUL byte within the text would end it for the
// reader: it reads as a control character instead, which the reader refuses where it
// stands. The scan reads up to the end of the sixteen bytes the text's end stands in:
// the copy ends in as many NUL bytes.
template <typename Target>
rapidjson::ParseResult ReadInPlace(std::string_view text, Target& target, rapidjson::Reader& reader) {
    constexpr std::size_t kScanBytes = 16;
    std::string copy(text);
    for (std::size_t at = copy.find('\0'); at != std::string::npos; at = copy.find('\0', at + 1)) copy[at] = '\x01';
    copy.append(kScanBytes, '\0');
    rapidjson::InsituStringStream stream(copy.data());
    Events<Target> events(target);
    return reader.Parse<rapidjson::kParseInsituFlag>(stream, events);
}

}  // namespace

std::string JsonPath::Text() const {
    std::string text = "$";
    for (const JsonPathStep& step : steps) text += step.element ? "[" + std::to_string(step.index) + "]" : "." + step.name;
    return text;
}

const char* JsonScalar::TypeName() const {
    switch (type) {
        case kNull: return "null";
        case kBool: return "true or false";
        case kWhole:
        case kTooBig: return "a whole number";
        case kFraction: return "a number with a fraction or an exponent";
        case kString: break;
    }
    return "a string";
}

JsonText::JsonText(std::string_view bytes) {
    text_ = ListTextAsUtf8(bytes, converted_) ? std::string_view(converted_) : bytes;
    // A UTF-8 byte-order mark, as some editors write one, is no part of the document.
    if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
}

bool JsonText::Read(JsonHandler& handler, JsonMistake& mistake) const {
    Reading reading(handler);
    rapidjson::Reader reader;
    // Whether the text is UTF-8 is asked of the whole text at once, many bytes at a time:
    // the reader's own check goes a byte at a time and turns its sixteen-byte scan off.
    const std::size_t not_utf8 = Utf8MistakeAt(text_);
    const bool read = !ReadInPlace(text_, reading, reader).IsError();
    if (read && not_utf8 == text_.size()) return true;
    if (read || not_utf8 < reader.GetErrorOffset()) {
        mistake = {{not_utf8, JsonPlace::kNone}, "", ExpectedText(rapidjson::kParseErrorStringInvalidEncoding, text_, not_utf8)};
        return false;
    }
    mistake.at = {reader.GetErrorOffset(), JsonPlace::kNone};
    mistake.path = reading.PathAtMistake();
    mistake.text = ExpectedText(reader.GetParseErrorCode(), text_, mistake.at.offset);
    return false;
}

std::size_t JsonText::OffsetOf(JsonPlace at) const {
    if (at.offset != JsonPlace::kNone || at.event == JsonPlace::kNone) return at.offset;
    if (event_offsets_.empty()) {
        // Read once more, the same way, noting where each event starts.
        Starts starts(text_, event_offsets_);
        rapidjson::Reader reader;
        ReadInPlace(text_, starts, reader);
    }
    return at.event < event_offsets_.size() ? event_offsets_[at.event] : JsonPlace::kNone;
}

std::string JsonText::PlaceOf(JsonPlace place) const {
    const std::size_t at = OffsetOf(place);
    if (at == JsonPlace::kNone) return "";
    if (at < cursor_) cursor_ = 0, line_ = 1, column_ = 1;
    for (; cursor_ < at && cursor_ < text_.size(); ++cursor_) {
        const auto byte = static_cast<unsigned char>(text_[cursor_]);
        if (byte == '\n') {
            ++line_;
            column_ = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column_;
        }
    }
    return std::to_string(line_) + ":" + std::to_string(column_);
}

std::string JsonText::Describe(const std::string& source, const JsonMistake& mistake) const {
    const std::string place = PlaceOf(mistake.at);
    return source + (place.empty() ? "" : ":" + place) + ": " + (mistake.path.empty() ? "" : mistake.path + ": ") +
           mistake.text;
}
