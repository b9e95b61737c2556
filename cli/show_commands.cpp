// The commands that print the file: show and check.
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/report.h"
#include "cli/terminal_text.h"
#include "config/config_codec.h"

namespace {

FileFacts Facts(const Session& s) {
    return {s.shown, s.bytes.size(), ConfigFileVersion(s.bytes).value_or(0)};
}

}  // namespace

int ShowCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, "show takes no arguments");
    if (int status = LoadConfiguration(s, false)) return status;
    const FileFacts facts = Facts(s);
    if (!s.line.json) return WriteTerminalText(s.out, ShowText(game_config, facts)) ? kStatusDone : kStatusFailed;
    JsonOut json(ShowJsonSize(game_config));
    ShowJson(game_config, facts, json);
    return WriteTerminalText(s.out, json.Text(), true) ? kStatusDone : kStatusFailed;
}

int CheckCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, "check takes no arguments");
    if (int status = LoadConfiguration(s, false)) return status;
    const std::vector<std::string> findings = CheckFindings(s.bytes, game_config);
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
    std::string text = facts.path + ": version " + std::to_string(facts.version) + ", " +
                       std::to_string(facts.size) + " bytes\n";
    for (const std::string& finding : findings) text += "- " + finding + "\n";
    text += findings.empty() ? "no findings\n" : std::to_string(findings.size()) + " finding(s)\n";
    if (!WriteTerminalText(s.out, text)) return kStatusFailed;
    return findings.empty() ? kStatusDone : kStatusRefused;
}

