// Save that does not undo another program's write, and restore of the previous file.
#include "ui/file_guard_win.h"

#include "config/config_file.h"
#include "text/cp932_text.h"
#include "config/file_system.h"
#include "message/error_message.h"
#include "ui/language_win.h"
#include "ui/window_win.h"

namespace {

// Both questions lead to something that cannot be taken back, so No is the default.
bool AskWithBox(HWND owner, const char* text) {
    return MessageBoxW(owner, WideFromCp932(text).c_str(), L"QORConfig",
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

QuestionAnswerer answerer = AskWithBox;

bool Ask(MessageId question) { return answerer(main_window, LocalText(question)); }

}  // namespace

void RestoreFromWindow() {
    // The item is greyed without a backup, but the backup may go while the menu is open.
    if (!ConfigBackupExists(ConfigFilePath())) {
        ShowErrorMessage(MessageId::kNoBackup);
        return;
    }
    if (!Ask(MessageId::kRestoreQuestion)) return;
    switch (RestoreConfigBackup(ConfigFilePath(), game_config)) {
        case RestoreStatus::kRestored:
            for (int index = 0; index < kPageCount; ++index) PopulatePage(index);
            break;
        case RestoreStatus::kNoBackup: ShowErrorMessage(MessageId::kNoBackup); break;
        case RestoreStatus::kBackupUnreadable:
        case RestoreStatus::kBackupUnusable: ShowErrorMessage(MessageId::kBackupUnreadable); break;
        case RestoreStatus::kFailed: break;  // the save has said so
    }
}

QuestionAnswerer SetQuestionAnswerer(QuestionAnswerer next) {
    const QuestionAnswerer previous = answerer;
    answerer = next != nullptr ? next : AskWithBox;
    return previous;
}

// The question is asked before anything is harvested or written. The file may change
// again while the question is open: the save compares once more just before it
// replaces the file, and a change found then is asked about again.
bool SaveFromWindow() {
    FileStamp expected = ConfigFileStamp();
    // Set once the save itself found a change: every further round asks, so the loop
    // never turns without the user.
    bool changed_at_save = false;
    for (;;) {
        FileStamp found;
        const FileCheck check = CheckFile(ConfigFilePath(), expected, found);
        bool forced = false;
        if (changed_at_save || check != FileCheck::kUnchanged) {
            if (!Ask(MessageId::kChangedOverwrite)) return false;
            // A file that cannot be read now is overwritten as before this check existed.
            forced = check == FileCheck::kUnreadable;
            expected = found;
        }
        const SaveStatus status = forced ? (SaveConfig(HarvestPages) ? SaveStatus::kSaved : SaveStatus::kNotWritten)
                                         : SaveConfigIfUnchanged(ConfigFilePath(), expected, HarvestPages);
        if (status == SaveStatus::kChanged) {
            changed_at_save = true;
            continue;
        }
        return status == SaveStatus::kSaved;
    }
}
