// Reading JSON documents with RapidJSON's reader: its events with their paths and
// places, and its mistakes in words.
#include "cli/json_reader.h"

#include <cstdint>
#include <utility>

#include "cli/json.h"
#include "cli/list_text.h"

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

// The text, read-only, as RapidJSON's reader takes it: its end reads as a NUL byte, and a
// NUL byte within as a control character, so that the reader refuses that where it
// stands rather than taking it for the end.
class TextStream {
public:
    using Ch = char;
    explicit TextStream(std::string_view text) : begin_(text.data()), p_(text.data()), end_(text.data() + text.size()) {}
    Ch Peek() const { return p_ == end_ ? '\0' : *p_ == '\0' ? '\x01' : *p_; }
    Ch Take() {
        const Ch ch = Peek();
        if (p_ != end_) ++p_;
        return ch;
    }
    std::size_t Tell() const { return static_cast<std::size_t>(p_ - begin_); }
    Ch* PutBegin() { return nullptr; }  // the reader copies, and writes nothing here
    void Put(Ch) {}
    void Flush() {}
    std::size_t PutEnd(Ch*) { return 0; }

private:
    const Ch* begin_;
    const Ch* p_;
    const Ch* end_;
};

// The reader's events, each told to the handler with its path and its place.
class Events {
public:
    Events(JsonHandler& handler, const TextStream& stream, std::string_view text)
        : handler_(handler), stream_(stream), text_(text) {}

    bool Null() { return Value({}); }
    bool Bool(bool b) {
        JsonScalar value = Of(JsonScalar::kBool);
        value.boolean = b;
        return Value(value);
    }
    bool Int(int i) { return Whole(i); }
    bool Uint(unsigned u) { return Whole(u); }
    bool Int64(std::int64_t i) { return Whole(i); }
    bool Uint64(std::uint64_t u) {
        if (u <= static_cast<std::uint64_t>(INT64_MAX)) return Whole(static_cast<std::int64_t>(u));
        JsonScalar big = Of(JsonScalar::kTooBig);
        big.too_big = u;
        return Value(big);
    }
    bool Double(double) { return Value(Of(JsonScalar::kFraction)); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }  // not asked for
    bool String(const char* text, rapidjson::SizeType length, bool) {
        JsonScalar value = Of(JsonScalar::kString);
        value.text = {text, length};
        return Value(value);
    }
    bool Key(const char* text, rapidjson::SizeType length, bool) {
        if (skip_ == 0) {
            path_.steps.back() = {std::string(text, length), 0, false, Start()};
            levels_.back().pending = true;
        }
        return Mark();
    }
    bool StartObject() { return Begin(true); }
    bool StartArray() { return Begin(false); }
    bool EndObject(rapidjson::SizeType members) { return End(true, members); }
    bool EndArray(rapidjson::SizeType elements) { return End(false, elements); }

    // The path of what the reader was reading when it stopped.
    std::string PathAtMistake() {
        if (!levels_.empty() && !levels_.back().object) path_.steps.back() = {"", levels_.back().count, true, 0};
        if (!levels_.empty() && levels_.back().object && !levels_.back().pending) path_.steps.pop_back();
        return path_.steps.empty() ? "" : path_.Text();
    }

private:
    static JsonScalar Of(JsonScalar::Type type) {
        JsonScalar value;
        value.type = type;
        return value;
    }

    struct Level {
        bool object;
        std::size_t count = 0;  // members or elements read
        bool pending = false;   // an object's member named, its value not yet read
    };

    // Where the value or name just read starts: after what the last event ended with,
    // past the spaces, the colon or the comma between them.
    std::size_t Start() const {
        std::size_t at = last_end_;
        while (at < text_.size() && std::string_view(" \t\r\n:,").find(text_[at]) != std::string_view::npos) ++at;
        return at;
    }
    bool Mark() {
        last_end_ = stream_.Tell();
        return true;
    }
    // A value begins at `at`: in an array, it is the next element.
    void Enter(std::size_t at) {
        if (!levels_.empty() && !levels_.back().object) path_.steps.back() = {"", levels_.back().count, true, at};
    }
    void Completed() {
        if (levels_.empty()) return;
        ++levels_.back().count;
        levels_.back().pending = false;
    }
    bool Whole(std::int64_t i) {
        JsonScalar value = Of(JsonScalar::kWhole);
        value.whole = i;
        return Value(value);
    }
    bool Value(const JsonScalar& value) {
        if (skip_ == 0) {
            Enter(Start());
            handler_.Scalar(path_, value);
            Completed();
        }
        return Mark();
    }
    bool Begin(bool object) {
        if (skip_ > 0) {
            ++skip_;
            return Mark();
        }
        Enter(Start());
        if (!handler_.Open(path_, object)) {
            skip_ = 1;
            return Mark();
        }
        levels_.push_back({object});
        path_.steps.emplace_back();
        return Mark();
    }
    bool End(bool object, std::size_t count) {
        if (skip_ > 0) {
            if (--skip_ == 0) Completed();
            return Mark();
        }
        levels_.pop_back();
        path_.steps.pop_back();
        handler_.Close(path_, object, count);
        Completed();
        return Mark();
    }

    JsonHandler& handler_;
    const TextStream& stream_;
    std::string_view text_;
    JsonPath path_;
    std::vector<Level> levels_;
    std::size_t last_end_ = 0;
    int skip_ = 0;  // how deep inside a container the handler skips
};

std::string ExpectedText(ParseErrorCode code, std::string_view text, std::size_t at) {
    std::string expected = kNoJson;
    for (const Expectation& e : kExpectations)
        if (e.code == code) expected = e.text;
    if (code == rapidjson::kParseErrorStringEscapeInvalid && at < text.size() && text[at] != '\\') expected = kControlInString;
    if (at >= text.size() && code != rapidjson::kParseErrorDocumentEmpty) expected += kAtTheEnd;
    return expected;
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
    TextStream stream(text_);
    Events events(handler, stream, text_);
    rapidjson::Reader reader;
    if (!reader.Parse<rapidjson::kParseValidateEncodingFlag>(stream, events).IsError()) return true;
    mistake.at = reader.GetErrorOffset();
    mistake.path = events.PathAtMistake();
    mistake.text = ExpectedText(reader.GetParseErrorCode(), text_, mistake.at);
    return false;
}

std::string JsonText::PlaceOf(std::size_t at) const {
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
    const std::string place = mistake.at == std::string::npos ? "" : ":" + PlaceOf(mistake.at);
    return source + place + ": " + (mistake.path.empty() ? "" : mistake.path + ": ") + mistake.text;
}
