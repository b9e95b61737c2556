// The commands on the whole configuration: apply (a show --json document back into the
// file, or with --dry-run what that would change) and diff (the file against its backup,
// another file or a document).
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "cli/apply_document.h"
#include "cli/commands.h"
#include "cli/differences.h"
#include "cli/list_text.h"
#include "cli/terminal_text.h"
#include "cli/texts.h"
#include "config/config_store.h"

namespace {

// A document's bytes, its text and what was read from it, kept for the change, which
// may run twice.
struct DocumentInput {
    std::string source;
    FileBytes file;                   // what was read: a file named, or standard input
    std::vector<std::uint8_t> bytes;  // or the other file of a diff
    std::unique_ptr<JsonText> text;
    ApplyDocument doc;
};

// Reads the document in `bytes`. kStatusDone, or after saying why and what `outcome`
// follows: trouble when it is no JSON document, `refused` when it gives what no row takes.
int ReadDocument(const Session& s, DocumentInput& input, std::span<const std::uint8_t> bytes, int refused,
                 CliText outcome) {
    input.text = std::make_unique<JsonText>(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    JsonMistake not_json;
    if (!ReadApplyDocument(*input.text, input.doc, not_json)) {
        Message(s, Say(CliText::kThenOutcome, {input.text->Describe(input.source, not_json), Say(outcome)}));
        return kStatusFailed;
    }
    for (const JsonMistake& mistake : input.doc.mistakes) Message(s, input.text->Describe(input.source, mistake));
    if (input.doc.mistakes.empty()) return kStatusDone;
    Message(s, Say(outcome));
    return refused;
}

// What would change, as diff prints it.
int PrintDifferences(const Session& s, const Differences& d, const std::string& from, const std::string& to) {
    const bool written = s.line.json ? WriteTerminalText(s.out, DifferencesJson(d, from, to), true)
                                     : WriteTerminalText(s.out, DifferencesText(d));
    return written ? kStatusDone : kStatusFailed;
}

int ApplyDocumentToFile(Session& s, const DocumentInput& input) {
    if (int status = LoadConfiguration(s, true)) return status;
    GameConfig after = game_config;
    std::vector<ApplyLine> lines;
    const bool good = ApplyToConfig(after, input.doc, lines);
    for (const ApplyLine& line : lines) {
        const std::string text = input.text->Describe(input.source, line.said);
        line.refusal ? Message(s, text) : Note(s, text);
    }
    if (!good) {
        Message(s, Say(CliText::kNothingChanged));
        return kStatusRefused;
    }
    const Differences d = Compare({game_config}, {after});
    if (s.line.dry_run) return PrintDifferences(s, d, s.shown, input.source);
    if (d.Empty() && !s.bytes.empty()) {
        Note(s, Say(CliText::kApplyAlreadyHolds, {input.source}));
        return kStatusDone;
    }
    game_config = std::move(after);
    const int status = Save(s);
    if (status == kStatusDone) Note(s, Say(CliText::kApplySaved, {DifferencesSummary(d)}));
    return status;
}

// The other side of a diff: a configuration file, or a document that says what differs
// from this file.
struct Other {
    std::string shown;
    GameConfig config;
    std::unique_ptr<DocumentInput> document;
};

// Whether the bytes are text that starts as a JSON document does, after its byte-order
// mark and spaces.
bool LooksLikeJson(const std::vector<std::uint8_t>& bytes) {
    std::string utf8;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (ListTextAsUtf8(text, utf8)) text = utf8;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && (text[first] == '{' || text[first] == '[');
}

int ReadOther(Session& s, const std::string& path, bool backup, Other& other) {
    ClearConfig(other.config);
    std::vector<std::uint8_t> bytes;
    int error_number = 0;
    switch (LoadConfigFile(path.c_str(), other.config, &bytes, &error_number)) {
        case LoadStatus::kOk:
        case LoadStatus::kDamaged: return kStatusDone;
        case LoadStatus::kMissing:
            Message(s, Say(backup ? CliText::kNoBackupToCompare : CliText::kNoSuchFile, {other.shown}));
            return kStatusFailed;
        case LoadStatus::kHeld:
            Message(s, Say(CliText::kCannotBeReadNamed,
                           {other.shown, error_number != 0 ? ErrorText(error_number) : Say(CliText::kProblemHeld)}));
            return error_number != 0 ? kStatusFailed : kStatusTryAgain;
        default: break;
    }
    if (!LooksLikeJson(bytes)) {
        Message(s, Say(CliText::kNoConfigurationNorJson, {other.shown}));
        return kStatusFailed;
    }
    other.document = std::make_unique<DocumentInput>();
    other.document->source = other.shown;
    other.document->bytes = std::move(bytes);
    // A document diff cannot read is trouble, never "different".
    return ReadDocument(s, *other.document, other.document->bytes, kStatusFailed, CliText::kNothingCompared);
}

}  // namespace

int ApplyCommand(Session& s) {
    if (s.line.arguments.size() != 1) return Usage(s, Say(CliText::kApplyNeedsFile));
    auto input = std::make_shared<DocumentInput>();
    if (int status = ReadInputArgument(s, 0, input->source, input->file)) return status;
    if (int status = ReadDocument(s, *input, input->file.View(), kStatusRefused, CliText::kNothingChanged)) return status;
    s.change = [&s, input] { return ApplyDocumentToFile(s, *input); };
    return kStatusDone;
}

int DiffCommand(Session& s) {
    if (s.line.arguments.size() > 1) return Usage(s, Say(CliText::kDiffArguments));
    std::string path = s.path + ".bak";
    if (!s.line.arguments.empty() && !PathArgument(s.argv, s.line.argument_index[0], path))
        return Usage(s, Say(CliText::kArgumentPathNotNameable));
    if (int status = LoadConfiguration(s, false)) return status;
    Other other{PathText(path), {}, nullptr};
    const int read = ReadOther(s, path, s.line.arguments.empty(), other);
    if (read != kStatusDone) return ReleaseConfig(other.config), read;
    const ConfigSide from = other.document ? ConfigSide{game_config, &other.document->doc} : ConfigSide{other.config};
    const Differences d = Compare(from, {game_config});
    ReleaseConfig(other.config);
    const int printed = PrintDifferences(s, d, other.shown, s.shown);
    return printed != kStatusDone ? printed : d.Empty() ? kStatusDone : kStatusRefused;
}
