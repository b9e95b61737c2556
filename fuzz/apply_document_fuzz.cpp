// Reads arbitrary bytes as the document qorcfg apply takes and applies what it reads to
// a new file's configuration: the reading ends either in the place of a mistake within
// the bytes, or in what the document gives, each mistake named by its path; what
// applies cleanly makes a configuration that encodes and decodes back to itself, and
// holds every value and list the document gave.
#include <cstdint>
#include <cstdlib>
#include <span>
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
    std::vector<char> bytes(data, data + size);
    ApplyDocument doc;
    std::size_t error_byte = 0;
    if (!ReadApplyDocument(bytes, doc, error_byte)) {
        // UTF-16 is read as the longer UTF-8 it becomes; any other text as it is.
        const bool utf16 = size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF));
        Require(error_byte >= 1 && (utf16 || error_byte <= size + 1));
        return 0;
    }
    for (const std::string& error : doc.errors) Require(error.starts_with("$") && error.find(": ") != std::string::npos);
    if (!doc.errors.empty()) return 0;

    GameConfig config;
    NewFileConfig(config);
    std::vector<std::string> changed;
    std::vector<ApplyLine> lines;
    const bool applied = ApplyToConfig(config, doc, changed, lines);
    for (const ApplyLine& line : lines) Require(line.text.starts_with("$"));
    if (applied) {
        for (const GivenValue& given : doc.values) {
            // Of a number given twice for one item, the last stands. (A text may be
            // stored in another form, as the window stores it.)
            if (given.value.is_text) continue;
            bool last = true;
            for (const GivenValue& other : doc.values) last = last && (&other <= &given || other.item != given.item);
            if (last) Require(SameItemValue(ItemValueOf(config, *given.item), given.value));
        }
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
