// Save that does not undo another program's write, and restore of the previous file.
#include "ui/file_guard_win.h"

#include "ui/config_file.h"
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

// Whether the operation about to replace the file may go on, the file being what
// `expected` says or the user accepting to overwrite what stands there now (which
// `expected` then says). Asks when the file holds other bytes or is gone, and, once the
// operation itself found a change just before replacing (`changed_at_replace`), every
// further round, so the loop never turns without the user. A file another program holds
// so that it cannot be read, even after waiting as the load does, is not known to have
// changed: no question, and the operation goes on as it would without this check.
bool MayReplace(FileStamp& expected, bool changed_at_replace) {
    FileStamp found;
    const FileCheck check = CheckFile(ConfigFilePath(), expected, found);
    if (!changed_at_replace && (check == FileCheck::kUnchanged || check == FileCheck::kUnreadable)) return true;
    if (!Ask(MessageId::kChangedOverwrite)) return false;
    if (check != FileCheck::kUnreadable) expected = found;
    return true;
}

}  // namespace

void RestoreFromWindow() {
    // The item is greyed without a backup, but the backup may go while the menu is open.
    if (!ConfigBackupExists(ConfigFilePath())) {
        ShowErrorMessage(MessageId::kNoBackup);
        return;
    }
    FileStamp expected = ConfigFileStamp();
    if (!MayReplace(expected, false)) return;
    // A backup a save could not refresh is not called the file from before the last save.
    if (!Ask(BackupIsOlder() ? MessageId::kRestoreOlderQuestion : MessageId::kRestoreQuestion))
        return;
    RestoreStatus status;
    while ((status = RestoreConfigBackup(ConfigFilePath(), game_config, expected)) == RestoreStatus::kChanged) {
        if (!MayReplace(expected, true)) break;
    }
    switch (status) {
        case RestoreStatus::kRestored:
            for (int index = 0; index < kPageCount; ++index) PopulatePage(index);
            break;
        case RestoreStatus::kNoBackup: ShowErrorMessage(MessageId::kNoBackup); break;
        case RestoreStatus::kBackupUnreadable:
        case RestoreStatus::kBackupUnusable: ShowErrorMessage(MessageId::kBackupUnreadable); break;
        case RestoreStatus::kFailed:   // the save has said so
        case RestoreStatus::kBusy:
        case RestoreStatus::kChanged: break;  // the user chose to keep the other program's file
    }
}

QuestionAnswerer SetQuestionAnswerer(QuestionAnswerer next) {
    const QuestionAnswerer previous = answerer;
    answerer = next != nullptr ? next : AskWithBox;
    return previous;
}

// The save compares the file with the one the window read just before it replaces it,
// under the lock every writer takes. When another program (one that takes no lock, the
// game itself) wrote it meanwhile, nothing is written and the user is asked; a Yes saves
// over what was found then, which is compared again in the same way.
bool SaveFromWindow() {
    FileStamp expected = ConfigFileStamp();
    for (;;) {
        FileStamp found;
        const SaveStatus status = SaveConfigIfUnchanged(ConfigFilePath(), expected, HarvestPages, &found);
        if (status != SaveStatus::kChanged) return status == SaveStatus::kSaved || status == SaveStatus::kNotFlushed;
        if (!Ask(MessageId::kChangedOverwrite)) return false;
        expected = found;
    }
}
