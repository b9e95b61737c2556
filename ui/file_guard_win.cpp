// Save that does not undo another program's write, and restore of the previous file.
#include "ui/file_guard_win.h"

#include "config/config_file.h"
#include "config/cp932_text.h"
#include "config/file_system.h"
#include "message/error_message.h"
#include "ui/language_win.h"
#include "ui/window_win.h"

namespace {

const char kChangedQuestion[] = "設定ファイルが他のプログラムによって変更されています。上書きしますか？";
const char kRestoreItem[] = "前回の保存前に戻す";
const char kRestoreQuestion[] =
    "設定を前回の保存前の状態に戻しますか？\n今のファイルはバックアップとして残ります。保存していない変更は失われます。";
const char kNoBackup[] = "前回の保存前のファイルがありません";
const char kBackupUnreadable[] = "前回の保存前のファイルが読み込めませんでした";

// Both questions lead to something that cannot be taken back, so No is the default.
bool AskWithBox(HWND owner, const char* text) {
    return MessageBoxW(owner, WideFromCp932(text).c_str(), L"QORConfig",
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

QuestionAnswerer answerer = AskWithBox;

bool Ask(const char* japanese) { return answerer(main_window, LocalText(japanese)); }

void SetRestoreItemState() {
    EnableMenuItem(GetSystemMenu(main_window, FALSE), kMenuRestore,
                   MF_BYCOMMAND | (ConfigBackupExists(ConfigFilePath()) ? MF_ENABLED : MF_GRAYED));
}

void Restore() {
    // The item is greyed without a backup, but the backup may go while the menu is open.
    if (!ConfigBackupExists(ConfigFilePath())) {
        ShowErrorMessage(kNoBackup);
        SetRestoreItemState();
        return;
    }
    if (!Ask(kRestoreQuestion)) return;
    switch (RestoreConfigBackup(ConfigFilePath(), game_config)) {
        case RestoreStatus::kRestored:
            for (int index = 0; index < kPageCount; ++index) PopulatePage(index);
            break;
        case RestoreStatus::kNoBackup: ShowErrorMessage(kNoBackup); break;
        case RestoreStatus::kBackupUnreadable:
        case RestoreStatus::kBackupUnusable: ShowErrorMessage(kBackupUnreadable); break;
        case RestoreStatus::kFailed: break;  // the save has said so
    }
    SetRestoreItemState();
}

}  // namespace

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
            if (!Ask(kChangedQuestion)) return false;
            // A file that cannot be read now is overwritten as before this check existed.
            forced = check == FileCheck::kUnreadable;
            expected = found;
        }
        const SaveStatus status = forced ? (SaveConfig(HarvestPages) ? SaveStatus::kSaved : SaveStatus::kFailed)
                                         : SaveConfigIfUnchanged(ConfigFilePath(), expected, HarvestPages);
        if (status == SaveStatus::kChanged) {
            changed_at_save = true;
            continue;
        }
        if (main_window != nullptr) SetRestoreItemState();
        return status == SaveStatus::kSaved;
    }
}

void AddRestoreItem(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kMenuRestore, WideFromCp932(LocalText(kRestoreItem)).c_str());
    SetRestoreItemState();
}

void RefreshRestoreItem() {
    if (main_window != nullptr) SetRestoreItemState();
}

void ShowRestoreItemText() {
    ModifyMenuW(GetSystemMenu(main_window, FALSE), kMenuRestore, MF_BYCOMMAND | MF_STRING, kMenuRestore,
                WideFromCp932(LocalText(kRestoreItem)).c_str());
    SetRestoreItemState();
}

bool OnRestoreCommand(UINT command) {
    if ((command & 0xFFF0) != kMenuRestore) return false;
    Restore();
    return true;
}
