// Reading JSON documents with RapidJSON's reader: its events with their paths and
// places, and its mistakes in words.
#include "cli/json_reader.h"

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

// The reader's events, each told to the handler with its path and its place.
class Events {
public:
    Events(JsonHandler& handler, rapidjson::InsituStringStream& stream, std::string_view text)
        : handler_(handler), stream_(stream) {
        path_.text = text;
    }

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
        JsonPathStep& step = path_.steps.back();
        step.name.assign(text, length);
        step.element = false;
        step.after = last_end_;
        levels_.back().pending = true;
        return Mark();
    }
    bool StartObject() { return Begin(true); }
    bool StartArray() { return Begin(false); }
    bool EndObject(rapidjson::SizeType members) { return End(true, members); }
    bool EndArray(rapidjson::SizeType elements) { return End(false, elements); }

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

    bool Mark() {
        last_end_ = stream_.Tell();
        return true;
    }
    // A value begins: in an array, it is the next element.
    void Enter() {
        if (levels_.empty() || levels_.back().object) return;
        JsonPathStep& step = path_.steps.back();
        step.element = true;
        step.index = levels_.back().count;
        step.after = last_end_;
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
    bool Skipping() const { return skip_from_ != kNotSkipping; }
    bool Value(const JsonScalar& value) {
        Enter();
        if (!Skipping()) handler_.Scalar(path_, value);
        Completed();
        return Mark();
    }
    // The path is kept inside what the handler skips too, for the place of a mistake.
    bool Begin(bool object) {
        Enter();
        if (!Skipping() && !handler_.Open(path_, object)) skip_from_ = levels_.size();
        levels_.push_back({object});
        path_.steps.emplace_back();
        return Mark();
    }
    bool End(bool object, std::size_t count) {
        levels_.pop_back();
        path_.steps.pop_back();
        if (skip_from_ == levels_.size()) skip_from_ = kNotSkipping;
        else if (!Skipping()) handler_.Close(path_, object, count);
        Completed();
        return Mark();
    }

    JsonHandler& handler_;
    rapidjson::InsituStringStream& stream_;
    JsonPath path_;
    std::vector<Level> levels_;
    std::size_t last_end_ = 0;
    // The depth of the container the handler skips, whose contents it is not told of.
    static constexpr std::size_t kNotSkipping = static_cast<std::size_t>(-1);
    std::size_t skip_from_ = kNotSkipping;
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

std::size_t JsonPath::At() const {
    if (steps.empty()) return 0;
    std::size_t at = steps.back().after;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n' ||
                                text[at] == ':' || text[at] == ','))
        ++at;
    return at;
}

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
    // The reader reads a copy in place, unescaping each string where it stands; the text
    // stays as it was, for the places of mistakes. A NUL byte within the text would end
    // the copy for the reader: it reads as a control character instead, which the
    // reader refuses where it stands.
    // The reader's sixteen-byte scan reads up to the end of the sixteen bytes the text's
    // end stands in: the copy ends in as many NUL bytes.
    constexpr std::size_t kScanBytes = 16;
    std::string copy(text_);
    for (std::size_t at = copy.find('\0'); at != std::string::npos; at = copy.find('\0', at + 1)) copy[at] = '\x01';
    copy.append(kScanBytes, '\0');
    rapidjson::InsituStringStream stream(copy.data());
    Events events(handler, stream, text_);
    rapidjson::Reader reader;
    // Whether the text is UTF-8 is asked of the whole text at once, many bytes at a time:
    // the reader's own check goes a byte at a time, and without it the reader scans its
    // strings sixteen bytes at a time.
    const std::size_t not_utf8 = Utf8MistakeAt(text_);
    const bool read = !reader.Parse<rapidjson::kParseInsituFlag>(stream, events).IsError();
    if (read && not_utf8 == text_.size()) return true;
    if (read || not_utf8 < reader.GetErrorOffset()) {
        mistake = {not_utf8, "", ExpectedText(rapidjson::kParseErrorStringInvalidEncoding, text_, not_utf8)};
        return false;
    }
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
