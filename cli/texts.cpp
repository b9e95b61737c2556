// Finding a text of a face and filling in its values.
#include "cli/texts.h"

namespace {

Language face = Language::kEnglish;

const CliTextRow* TableOf(Language language) {
    return language == Language::kJapanese ? japanese_cli_texts : english_cli_texts;
}

}  // namespace

Language CliFace() { return face; }

void SetCliFace(Language language) { face = language; }

std::string SayIn(Language language, CliText id, std::initializer_list<TextArgument> arguments) {
    const char8_t* text = TableOf(language)[static_cast<std::size_t>(id)].text;
    const std::string_view pattern = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    std::string out;
    out.reserve(pattern.size() + 32);
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        // "{1}" to "{9}"; any other brace stands as it is (JSON in the help texts).
        if (pattern[at] == '{' && at + 2 < pattern.size() && pattern[at + 1] >= '1' && pattern[at + 1] <= '9' &&
            pattern[at + 2] == '}') {
            const std::size_t index = static_cast<std::size_t>(pattern[at + 1] - '1');
            if (index < arguments.size()) out += arguments.begin()[index].text;
            at += 2;
            continue;
        }
        out += pattern[at];
    }
    return out;
}

std::string Say(CliText id, std::initializer_list<TextArgument> arguments) { return SayIn(face, id, arguments); }

std::string FaceWord(std::string_view english, CliText first, CliText last, Language language) {
    for (auto id = static_cast<std::size_t>(first); id <= static_cast<std::size_t>(last); ++id)
        if (english == reinterpret_cast<const char*>(english_cli_texts[id].text)) return SayIn(language, static_cast<CliText>(id));
    return std::string(english);
}

std::string Listing(const std::vector<std::string>& words, CliText last, Language language) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : SayIn(language, i + 1 == words.size() ? last : CliText::kJoinComma)) + words[i];
    return text;
}
