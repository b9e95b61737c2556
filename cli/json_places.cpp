// A document's places and paths in words: "$.players[0].key_map[3]", line and column,
// and a mistake named by both.
#include <string>

#include "cli/json.h"
#include "cli/json_reader.h"
#include "cli/texts.h"

JsonPlace JsonPath::Place() const {
    if (steps.empty()) return 0;
    std::size_t at = steps.back().after;
    while (at < text.size() && (IsJsonSpace(text[at]) || text[at] == ':' || text[at] == ',')) ++at;
    return at;
}

std::string JsonPath::Text() const {
    std::string text = "$";
    for (const JsonPathStep& step : steps) text += step.element ? "[" + std::to_string(step.index) + "]" : "." + step.name;
    return text;
}

std::string JsonScalar::TypeName() const {
    switch (type) {
        case kNull: return Say(CliText::kTypeNull);
        case kBool: return Say(CliText::kTypeBool);
        case kWhole:
        case kTooBig: return Say(CliText::kTypeWhole);
        case kFraction: return Say(CliText::kTypeFraction);
        case kString: break;
    }
    return Say(CliText::kTypeString);
}

std::string JsonText::PlaceOf(JsonPlace at) const {
    if (at == kNoPlace) return "";
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
