// The JSON reading machinery and the schema on their own: a run of plain strings read at
// once tells the handler exactly what the reader would, each event with its path and
// place; every row of the schema is found by its name, alias and path, and every word
// completion offers for a value, set takes.
#include <gtest/gtest.h>

#include <string>

#include "cli/json_reader.h"
#include "cli/schema.h"

namespace {

// Writes down every event as "PATH=VALUE@LINE:COLUMN", every close as "PATH)COUNT".
class Transcript : public JsonHandler {
public:
    Transcript(const JsonText& text, JsonOpen arrays, bool takes) : text_(text), arrays_(arrays), takes_(takes) {}
    std::string said;

    void Scalar(const JsonPath& path, const JsonScalar& value) override {
        if (value.type == JsonScalar::kString && path.Last().element && TakePlainString(value.text, 0)) return;
        const std::string shown = value.type == JsonScalar::kString ? "\"" + std::string(value.text) + "\""
                                  : value.type == JsonScalar::kWhole ? std::to_string(value.whole)
                                                                     : value.TypeName();
        said += path.Text() + "=" + shown + "@" + text_.PlaceOf(path.Place()) + " ";
    }
    JsonOpen Open(const JsonPath& path, bool object) override {
        said += path.Text() + (object ? "{" : "[") + "@" + text_.PlaceOf(path.Place()) + " ";
        return object ? JsonOpen::kRead : arrays_;
    }
    void Close(const JsonPath& path, bool object, std::size_t count) override {
        said += path.Text() + (object ? "}" : "]") + std::to_string(count) + " ";
    }

    // Where it takes strings: an element that starts with a digit, however it came.
    bool TakePlainString(std::string_view text, std::size_t) override {
        if (!takes_ || text.empty() || text[0] < '0' || text[0] > '9') return false;
        said += "took " + std::string(text) + " ";
        return true;
    }

private:
    const JsonText& text_;
    JsonOpen arrays_;
    bool takes_;
};

std::string Read(const std::string& document, JsonOpen arrays, bool takes = false) {
    const JsonText text(document);
    Transcript transcript(text, arrays, takes);
    JsonMistake mistake;
    if (!text.Read(transcript, mistake)) transcript.said += "! " + text.Describe("doc", mistake);
    return transcript.said;
}

TEST(JsonReader, APlainRunOfStringsIsReadExactlyAsTheReaderReadsIt) {
    const std::string documents[] = {
        R"(["1.2.3.4", "5.6.7.8"])",
        "[ \"a\" ,\"b\"\n,\t\"c\" ]",
        R"(["a", "b\u0041", "c", "d"])",
        "[\"a\", \"\xC3\xA9\", \"c\"]",
        R"(["a", 1, "c", ["d"], {"e": "f"}, "g"])",
        R"(["a", ])",
        R"(["a" "b"])",
        R"(["a",)",
        R"(["a")",
        R"(["a", "b)",
        "[\"a\", \"b\x01\"]",
        R"([])",
        R"([ ])",
        R"({"l": ["a", "b"], "m": ["c"]} x)",
        "{\"l\": [\"" + std::string(40, 'x') + "\", \"" + std::string(3, 'y') + "\"]}",
        // What stands between the strings, alike from one to the next and then not.
        "[\"1\", \"2\", \"3\",\"4\" , \"5\",\n  \"6\",\n  \"7\",\n  \"a\",\n  \"9\" ,\n  \"10\"]",
        "[\"1\",\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\"2\",\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\"3\", \"4\"]",
        R"(["1", "2", "3" "4"])",
        R"(["1", "2", "3", ])",
        R"(["1", "2", "3", 4, "5", "6"])",
        R"(["1", "2", "3"  , "4"  , "5"])",
    };
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        const std::string by_the_reader = Read(document, JsonOpen::kRead);
        EXPECT_EQ(Read(document, JsonOpen::kReadStrings), by_the_reader);
        // A handler that takes some strings itself is told the rest, and every mistake,
        // at the same paths and places.
        EXPECT_EQ(Read(document, JsonOpen::kReadStrings, true), Read(document, JsonOpen::kRead, true));
    }
    EXPECT_EQ(Read("{\"a\": [1, {\"b\": true}],\n \"c\": \"x\"}", JsonOpen::kReadStrings),
              "${@1:1 $.a[@1:2 $.a[0]=1@1:8 $.a[1]{@1:11 $.a[1].b=true or false@1:12 $.a[1]}1 $.a]2 "
              "$.c=\"x\"@2:2 $}2 ");
    EXPECT_EQ(Read(R"(["a", "b", ])", JsonOpen::kReadStrings),
              "$[@1:1 $[0]=\"a\"@1:2 $[1]=\"b\"@1:7 ! doc:1:12: $[2]: expected a value: an object, an array, a string, "
              "a number, true, false or null");
}

TEST(Schema, EveryRowIsFoundByItsNameAliasAndPathAndTakesTheWordsItOffers) {
    int aliases = 0;
    for (const SchemaRow& row : SchemaRows()) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(RowAtPath(row.path), &row);
        if (row.row != RowKind::kValue) continue;
        EXPECT_EQ(FindValueRow(row.name), &row);
        if (!row.alias.empty()) {
            ++aliases;
            EXPECT_EQ(FindValueRow(row.alias), &row);
        }
        for (const std::string& word : ValueWords(row)) {
            ItemValue value;
            std::string error;
            EXPECT_TRUE(ParseValue(row, word, value, error)) << word << ": " << error;
            EXPECT_TRUE(InValueSet(row, value.number)) << word;
        }
    }
    EXPECT_EQ(aliases, 2 * 9);  // every action of the key page, for each player
    EXPECT_EQ(FindValueRow("PLAYER2.Menu"), FindValueRow("player2.key_map.9"));
    EXPECT_EQ(FindValueRow("allowed-only"), FindValueRow("allowed_only"));
    EXPECT_EQ(FindValueRow("player1.key_map.10"), nullptr);
    EXPECT_EQ(FindValueRow("denied"), nullptr);  // a list, which set does not take
}

}  // namespace
