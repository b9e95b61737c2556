// The commands that print the file: show and check.
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/report.h"
#include "cli/terminal_text.h"
#include "cli/texts.h"
#include "config/config_codec.h"

namespace {

FileFacts Facts(const Session& s) {
    return {s.shown, s.bytes.size(), ConfigFileVersion(s.bytes).value_or(0)};
}

}  // namespace

int ShowCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, Say(CliText::kTakesNoArguments, {"show"}));
    if (int status = LoadConfiguration(s, false)) return status;
    const FileFacts facts = Facts(s);
    if (!s.line.json) return WriteTerminalText(s.out, ShowText(game_config, facts)) ? kStatusDone : kStatusFailed;
    JsonOut json(ShowJsonSize(game_config));
    ShowJson(game_config, facts, json);
    return WriteTerminalText(s.out, json.Text(), true) ? kStatusDone : kStatusFailed;
}

int CheckCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, Say(CliText::kTakesNoArguments, {"check"}));
    if (int status = LoadConfiguration(s, false)) return status;
    // Scripts read the JSON's findings: English in either face.
    const std::vector<std::string> findings =
        CheckFindings(s.bytes, game_config, s.line.json ? Language::kEnglish : CliFace());
    const FileFacts facts = Facts(s);
    if (s.line.json) {
        JsonOut json;
        json->StartObject();
        json.Key("file");
        json.String(facts.path);
        json.Key("version");
        json->Uint(facts.version);
        json.Key("size");
        json->Uint64(facts.size);
        json.Key("findings");
        json->StartArray();
        for (const std::string& finding : findings) json.String(finding);
        json->EndArray();
        json->EndObject();
        if (!WriteTerminalText(s.out, json.Text(), true)) return kStatusFailed;
        return findings.empty() ? kStatusDone : kStatusRefused;
    }
    std::string text = Say(CliText::kCheckHead, {facts.path, facts.version, facts.size}) + "\n";
    for (const std::string& finding : findings) text += "- " + finding + "\n";
    text += (findings.empty() ? Say(CliText::kNoFindings) : Say(CliText::kFindingCount, {findings.size()})) + "\n";
    if (!WriteTerminalText(s.out, text)) return kStatusFailed;
    return findings.empty() ? kStatusDone : kStatusRefused;
}

