// The commands on single fields and on the whole file: set and restore.
#include <climits>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/list_text.h"
#include "cli/report.h"
#include "cli/schema.h"
#include "cli/suggest.h"
#include "cli/terminal_text.h"
#include "cli/texts.h"
#include "config/config_codec.h"
#include "config/config_store.h"
#include "model/key_assign.h"

namespace {

// A field named on the command line and the value it is to take.
struct FieldChange {
    const SchemaRow* row;
    ItemValue value;
};

// Stores the changes in the record, noting each in `said`; false when none changes a
// value. A key slot given a button that another slot holds swaps the two, as the page's
// capture does, so the map keeps each button once.
bool StoreChanges(const Session& s, std::vector<FieldChange>& changes, std::string& said, bool& refused) {
    bool changed = false;
    for (FieldChange& change : changes) {
        const SchemaRow& row = *change.row;
        const ItemValue current = ValueOf(game_config, row);
        std::string error;
        if (!CheckValue(row, change.value, current, error)) {
            Message(s, Say(CliText::kNothingChangedAfter, {error}));
            refused = true;
            return false;
        }
        if (SameValue(current, change.value)) continue;
        changed = true;
        said += (said.empty() ? "" : Say(CliText::kJoinComma)) + ShownName(row) + " " + ValueText(row, current, CliFace()) +
                " -> " + ValueText(row, change.value, CliFace());
        if (row.kind != ValueKind::kKeySlot) {
            StoreValue(game_config, row, change.value);
            continue;
        }
        KeyMap& map = game_config.options.key_map[row.index];
        const KeyMap before = map;
        AssignButton(map, static_cast<std::size_t>(row.slot), static_cast<std::uint8_t>(change.value.number));
        for (std::size_t slot = 0; slot < map.size(); ++slot) {
            if (slot == static_cast<std::size_t>(row.slot) || map[slot] == before[slot]) continue;
            const SchemaRow& other = *RowAtPath(row.path.substr(0, row.path.rfind('[')) + "[" + std::to_string(slot) + "]");
            said += Say(CliText::kTakesButton, {ShownName(other), FormatKeyLabel(map[slot]).text});
        }
    }
    return changed;
}

}  // namespace

int RestoreCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, Say(CliText::kTakesNoArguments, {"restore"}));
    const std::string backup = PathText(s.path + ".bak");
    SaveOutcome outcome;
    switch (RestoreConfigFile(s.path.c_str(), game_config, nullptr, &outcome)) {
        case RestoreStatus::kRestored: {
            // What the window will make of the file put back, as check says it.
            for (const std::string& finding : CheckFindings(outcome.written.Bytes(), game_config, CliFace()))
                Message(s, Say(CliText::kRestoredAsItStands, {backup, finding}));
            const int status = Saved(s, outcome);
            if (status == kStatusDone)
                Note(s, Say(CliText::kRestored, {backup}));
            return status;
        }
        case RestoreStatus::kNoBackup: Message(s, Say(CliText::kNoBackupToRestore, {backup})); break;
        case RestoreStatus::kBackupUnreadable: Message(s, Say(CliText::kBackupUnreadable, {backup})); break;
        case RestoreStatus::kBackupUnusable: Message(s, Say(CliText::kBackupUnusable, {backup})); break;
        case RestoreStatus::kBusy:
            FileMessage(s, Say(CliText::kRestoreBusy));
            return kStatusTryAgain;
        case RestoreStatus::kChanged:  // only with an expected file, which restore gives none
        case RestoreStatus::kFailed: {
            const std::string why = ProblemText(outcome.problem);
            FileMessage(s, why.empty() ? Say(CliText::kNotRestored) : Say(CliText::kNotRestoredBecause, {why}));
            // Held so that it could be neither replaced nor written: another try may do.
            return outcome.status == SaveStatus::kHeld ? kStatusTryAgain : kStatusFailed;
        }
    }
    return kStatusFailed;
}

int SetCommand(Session& s) {
    const std::vector<std::string>& args = s.line.arguments;
    if (args.size() < 2 || args.size() % 2 != 0) return Usage(s, Say(CliText::kSetNeedsPairs));
    std::vector<FieldChange> changes;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const SchemaRow* row = FindValueRow(args[i]);
        if (row == nullptr) {
            Message(s, Say(CliText::kSetNoField, {PrintableLine(args[i]), DidYouMean(args[i], ValueNames())}));
            return kStatusRefused;
        }
        ItemValue value;
        std::string error;
        // A number is checked against its set at once; a text against the file's own
        // text once it is read.
        ItemValue none;
        none.number = INT64_MIN;
        if (!ParseValue(*row, ArgumentText(s.argv, s.line.argument_index[i + 1]), value, error) ||
            (!value.is_text && !CheckValue(*row, value, none, error))) {
            Message(s, Say(CliText::kNothingChangedAfter, {error}));
            return kStatusRefused;
        }
        changes.push_back({row, std::move(value)});
    }
    s.change = [&s, changes]() mutable {
        if (int status = LoadConfiguration(s, true)) return status;
        // A missing file is created even when every value is the one a new file has; a
        // file of an older version that reads as the values given is left as it is.
        std::string said;
        bool refused = false;
        const bool changed = StoreChanges(s, changes, said, refused);
        if (refused) return static_cast<int>(kStatusRefused);
        if (!changed && !s.bytes.empty()) {
            Note(s, Say(CliText::kSetAlreadyHolds));
            return static_cast<int>(kStatusDone);
        }
        const int status = Save(s);
        if (status == kStatusDone) Note(s, Say(CliText::kSetSaved, {said.empty() ? Say(CliText::kNoValueChanged) : said}));
        return status;
    };
    return kStatusDone;
}

int InitCommand(Session& s) {
    if (!s.line.arguments.empty()) return Usage(s, Say(CliText::kTakesNoArguments, {"init"}));
    s.change = [&s] {
        // A missing file is what init is for: no note that it starts from the defaults.
        const bool quiet = s.line.quiet;
        s.line.quiet = true;
        const int status = LoadConfiguration(s, true);
        s.line.quiet = quiet;
        if (status != kStatusDone) return status;
        const bool existed = !s.bytes.empty();
        if (existed && !s.line.force) {
            FileMessage(s, Say(CliText::kInitExists));
            return static_cast<int>(kStatusRefused);
        }
        NewFileConfig(game_config);
        const int saved = Save(s);
        if (saved == kStatusDone)
            Note(s, existed ? Say(CliText::kInitDoneReplaced, {s.shown, PathText(s.path + ".bak")})
                            : Say(CliText::kInitDone, {s.shown}));
        return saved;
    };
    return kStatusDone;
}
