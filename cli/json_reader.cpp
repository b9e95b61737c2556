// Reading JSON documents with RapidJSON's reader: its events with their paths and
// places, and its mistakes in words.
#include "cli/json_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "cli/json.h"
#include "cli/list_text.h"
#include "cli/texts.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using rapidjson::ParseErrorCode;

// What the reader expected where it stopped, in words.
struct Expectation {
    ParseErrorCode code;
    CliText text;
};

const Expectation kExpectations[] = {
    {rapidjson::kParseErrorDocumentEmpty, CliText::kJsonEmpty},
    {rapidjson::kParseErrorDocumentRootNotSingular, CliText::kJsonNotSingular},
    {rapidjson::kParseErrorValueInvalid, CliText::kJsonValue},
    {rapidjson::kParseErrorObjectMissName, CliText::kJsonMemberName},
    {rapidjson::kParseErrorObjectMissColon, CliText::kJsonColon},
    {rapidjson::kParseErrorObjectMissCommaOrCurlyBracket, CliText::kJsonCommaOrBrace},
    {rapidjson::kParseErrorArrayMissCommaOrSquareBracket, CliText::kJsonCommaOrBracket},
    {rapidjson::kParseErrorStringUnicodeEscapeInvalidHex, CliText::kJsonHex},
    {rapidjson::kParseErrorStringUnicodeSurrogateInvalid, CliText::kJsonSurrogate},
    {rapidjson::kParseErrorStringEscapeInvalid, CliText::kJsonEscape},
    {rapidjson::kParseErrorStringMissQuotationMark, CliText::kJsonQuotationMark},
    {rapidjson::kParseErrorStringInvalidEncoding, CliText::kJsonUtf8},
    {rapidjson::kParseErrorNumberTooBig, CliText::kJsonNumberTooBig},
    {rapidjson::kParseErrorNumberMissFraction, CliText::kJsonFraction},
    {rapidjson::kParseErrorNumberMissExponent, CliText::kJsonExponent},
};

std::string ExpectedText(ParseErrorCode code, std::string_view text, std::size_t at) {
    CliText expected = CliText::kJsonNoJson;
    for (const Expectation& e : kExpectations)
        if (e.code == code) expected = e.text;
    if (code == rapidjson::kParseErrorStringEscapeInvalid && at < text.size() && text[at] != '\\')
        expected = CliText::kJsonControl;
    if (at >= text.size() && code != rapidjson::kParseErrorDocumentEmpty)
        return Say(CliText::kJsonAtTheEnd, {Say(expected)});
    return Say(expected);
}

// The text, read-only, as RapidJSON's reader takes it: its end reads as a NUL byte, and a
// NUL byte within as a control character, so that the reader refuses that where it
// stands rather than taking it for the end. A run of plain strings is taken from it at
// once, past the reader (Reading::TakePlainStrings).
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
    void Seek(std::size_t at) { p_ = begin_ + at; }
    Ch* PutBegin() { return nullptr; }  // the reader copies, and writes nothing here
    void Put(Ch) {}
    void Flush() {}
    std::size_t PutEnd(Ch*) { return 0; }

private:
    const Ch* begin_;
    const Ch* p_;
    const Ch* end_;
};

// The bytes a plain string holds as they stand: printable ASCII but the quotation mark
// and the backslash.
constexpr std::array<bool, 256> PlainBytes() {
    std::array<bool, 256> plain{};
    for (int ch = 0x20; ch < 0x7F; ++ch) plain[static_cast<std::size_t>(ch)] = ch != '"' && ch != '\\';
    return plain;
}
constexpr std::array<bool, 256> kPlain = PlainBytes();

// Each event told to the handler with its path; the path is kept inside what the
// handler skips too, for the place of a mistake.
class Reading {
public:
    Reading(JsonHandler& handler, TextStream& stream, std::string_view text) : handler_(handler), stream_(stream) {
        path_.text = text;
    }

    bool Null() { return Scalar(Of(JsonScalar::kNull)); }
    bool Bool(bool b) {
        JsonScalar value = Of(JsonScalar::kBool);
        value.boolean = b;
        return Scalar(value);
    }
    bool Int(int i) { return Whole(i); }
    bool Uint(unsigned u) { return Whole(u); }
    bool Int64(std::int64_t i) { return Whole(i); }
    bool Uint64(std::uint64_t u) {
        if (u <= static_cast<std::uint64_t>(INT64_MAX)) return Whole(static_cast<std::int64_t>(u));
        JsonScalar big = Of(JsonScalar::kTooBig);
        big.too_big = u;
        return Scalar(big);
    }
    bool Double(double) { return Scalar(Of(JsonScalar::kFraction)); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }  // not asked for
    bool String(const char* text, rapidjson::SizeType length, bool) {
        JsonScalar value = Of(JsonScalar::kString);
        value.text = {text, length};
        return Scalar(value);
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
    bool EndObject(rapidjson::SizeType) { return End(true); }
    bool EndArray(rapidjson::SizeType) { return End(false); }

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

    bool Mark() {
        last_end_ = stream_.Tell();
        return true;
    }
    // A value begins: in an array, it is the next element; in an object, its member
    // stands at its name.
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
    bool Skipping() const { return skip_from_ != kNotSkipping; }
    bool Whole(std::int64_t i) {
        JsonScalar value = Of(JsonScalar::kWhole);
        value.whole = i;
        return Scalar(value);
    }
    bool Scalar(const JsonScalar& value) {
        Enter();
        if (!Skipping()) handler_.Scalar(path_, value);
        Completed();
        return Mark();
    }
    bool Begin(bool object) {
        Enter();
        const JsonOpen open = Skipping() ? JsonOpen::kSkip : handler_.Open(path_, object);
        if (open == JsonOpen::kSkip && !Skipping()) skip_from_ = levels_.size();
        levels_.push_back({object});
        path_.steps.emplace_back();
        Mark();
        if (open == JsonOpen::kReadStrings) TakePlainStrings();
        return true;
    }
    bool End(bool object) {
        const std::size_t count = levels_.back().count;
        levels_.pop_back();
        path_.steps.pop_back();
        if (skip_from_ == levels_.size()) skip_from_ = kNotSkipping;
        else if (!Skipping()) handler_.Close(path_, object, count);
        Completed();
        return Mark();
    }

    std::size_t SkipSpaces(std::size_t at) const {
        while (at < path_.text.size() && IsJsonSpace(path_.text[at])) ++at;
        return at;
    }
    // Just inside an array of strings: its elements as long as each is a plain string
    // (printable ASCII, no escape) followed by a comma and another string, or by the
    // array's end, which the reader is left to read. The first element that is not so
    // is left to the reader as well, which then reads on as from the array's start.
    void TakePlainStrings() {
        const std::string_view text = path_.text;
        Separator separator;
        for (std::size_t at = SkipSpaces(stream_.Tell()); at < text.size() && text[at] == '"';) {
            const std::size_t end = PlainEnd(text, at + 1);
            if (end == text.size() || text[end] != '"') return;
            std::size_t after, next;
            bool last = false;
            if (separator.Follows(text, end + 1)) {
                after = end + 1 + separator.comma;
                next = end + separator.size;  // at the next quotation mark
            } else {
                after = SkipSpaces(end + 1);
                last = after < text.size() && text[after] == ']';
                next = last || after == text.size() || text[after] != ',' ? after : SkipSpaces(after + 1);
                if (!last && (next == after || next == text.size() || text[next] != '"')) return;
                if (!last) separator.Remember(text, end + 1, after - end - 1, next - end - 1);
            }
            const std::string_view element = text.substr(at + 1, end - at - 1);
            if (!handler_.TakePlainString(element, text.size() - end)) {
                String(element.data(), static_cast<rapidjson::SizeType>(element.size()), false);
            } else {
                Completed();
            }
            stream_.Seek(last ? end + 1 : after + 1);
            Mark();
            at = next;
        }
    }

    // What stood between the last two strings of an array: the comma with the spaces
    // around it, up to the next quotation mark. A document written by a program repeats
    // it element after element, and one comparison then takes the whole of it.
    struct Separator {
        std::array<char, 16> bytes{};
        std::size_t size = 0;    // 0: none remembered; with the next string's quotation mark
        std::size_t comma = 0;   // where the comma stands in it
        void Remember(std::string_view text, std::size_t from, std::size_t comma_at, std::size_t quote_at) {
            size = quote_at + 1 <= bytes.size() ? quote_at + 1 : 0;
            comma = comma_at;
            if (size != 0) std::memcpy(bytes.data(), text.data() + from, size);
        }
        bool Follows(std::string_view text, std::size_t from) const {
            if (size == 0 || text.size() - from < bytes.size()) return false;
#if defined(__SSE2__)
            const __m128i same = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from)),
                                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data())));
            const unsigned wanted = (1u << size) - 1;
            return (static_cast<unsigned>(_mm_movemask_epi8(same)) & wanted) == wanted;
#else
            return std::memcmp(text.data() + from, bytes.data(), size) == 0;
#endif
        }
    };

    // Where the plain bytes from `at` end: sixteen at a time where the processor can and
    // the text has as many left (an address string takes one step).
    static std::size_t PlainEnd(std::string_view text, std::size_t at) {
#if defined(__SSE2__)
        for (; at + 16 <= text.size(); at += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
            const __m128i stops = _mm_or_si128(
                _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(0x20)), _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F))),
                _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\\'))));
            if (const int mask = _mm_movemask_epi8(stops)) return at + static_cast<std::size_t>(__builtin_ctz(mask));
        }
#endif
        while (at < text.size() && kPlain[static_cast<unsigned char>(text[at])]) ++at;
        return at;
    }

    static JsonScalar Of(JsonScalar::Type type) {
        JsonScalar value;
        value.type = type;
        return value;
    }

    JsonHandler& handler_;
    TextStream& stream_;
    JsonPath path_;
    std::vector<Level> levels_;
    std::size_t last_end_ = 0;
    // The depth of the container the handler skips, whose contents it is not told of.
    static constexpr std::size_t kNotSkipping = static_cast<std::size_t>(-1);
    std::size_t skip_from_ = kNotSkipping;
};

}  // namespace

JsonText::JsonText(std::string_view bytes) {
    text_ = ListTextAsUtf8(bytes, converted_) ? std::string_view(converted_) : bytes;
    // A UTF-8 byte-order mark, as some editors write one, is no part of the document.
    if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);
}

bool JsonText::Read(JsonHandler& handler, JsonMistake& mistake) const {
    TextStream stream(text_);
    Reading reading(handler, stream, text_);
    rapidjson::Reader reader;
    if (!reader.Parse<rapidjson::kParseValidateEncodingFlag>(stream, reading).IsError()) return true;
    mistake.at = reader.GetErrorOffset();
    mistake.path = reading.PathAtMistake();
    mistake.text = ExpectedText(reader.GetParseErrorCode(), text_, mistake.at);
    return false;
}
