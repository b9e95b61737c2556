// Reads arbitrary bytes as the document qorcfg apply takes and applies what it reads to
// a new file's configuration: the reading ends either in a mistake placed by line and
// column within the text, or in what the document gives, each mistake named by its path
// and placed; what applies cleanly makes a configuration that encodes and decodes back
// to itself, and holds every number the document gave.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <string>
#include <vector>

#include "cli/apply_document.h"
#include "config/config_codec.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const JsonText text(std::string_view(reinterpret_cast<const char*>(data), size));
    ApplyDocument doc;
    JsonMistake not_json;
    if (!ReadApplyDocument(text, doc, not_json)) {
        // A place within the text as read (its end included), named by line and column.
        Require(not_json.at <= text.Size() && !text.PlaceOf(not_json.at).empty());
        return 0;
    }
    // Every mistake has its path and its place.
    for (const JsonMistake& mistake : doc.mistakes)
        Require(mistake.path.starts_with("$") && !text.PlaceOf(mistake.at).empty());
    if (!doc.mistakes.empty()) return 0;

    GameConfig config;
    NewFileConfig(config);
    std::vector<ApplyLine> lines;
    const bool applied = ApplyToConfig(config, doc, lines);
    for (const ApplyLine& line : lines) Require(line.said.path.starts_with("$"));
    if (applied) {
        // What applied holds every number the document gave (a text may be stored in
        // another form, as the window stores it); of a row given twice, the last.
        for (const GivenValue& given : doc.values)
            if (!given.value.is_text) Require(SameValue(ValueOf(config, *given.row), given.value));
        std::vector<std::uint8_t> encoded;
        Require(EncodeConfig(config, encoded));
        GameConfig again;
        ClearConfig(again);
        Require(DecodeConfig(encoded, again) == DecodeStatus::kOk);
        std::vector<std::uint8_t> twice;
        Require(EncodeConfig(again, twice) && twice == encoded);
        ReleaseConfig(again);
    }
    ReleaseConfig(config);
    return 0;
}
