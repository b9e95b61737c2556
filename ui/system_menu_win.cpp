// The system-menu items of the main window: the face switch and the restore.
#include "ui/system_menu_win.h"

#include "ui/config_file.h"
#include "config/file_system.h"
#include "text/cp932_text.h"
#include "ui/file_guard_win.h"
#include "ui/language_win.h"
#include "ui/window_win.h"

namespace {

HMENU SystemMenu() { return GetSystemMenu(main_window, FALSE); }

std::wstring RestoreItemText() { return WideFromCp932(LocalText(MessageId::kRestoreItem)); }

}  // namespace

void AddSystemMenuItems(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kMenuJapanese, L"日本語");
    AppendMenuW(menu, MF_STRING, kMenuEnglish, L"English");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kMenuRestore, RestoreItemText().c_str());
    RefreshSystemMenu();
}

void RefreshSystemMenu() {
    if (main_window == nullptr) return;
    HMENU menu = SystemMenu();
    CheckMenuRadioItem(menu, kMenuJapanese, kMenuEnglish,
                       current_language == Language::kEnglish ? kMenuEnglish : kMenuJapanese, MF_BYCOMMAND);
    ModifyMenuW(menu, kMenuRestore, MF_BYCOMMAND | MF_STRING, kMenuRestore, RestoreItemText().c_str());
    EnableMenuItem(menu, kMenuRestore, MF_BYCOMMAND | (ConfigBackupExists(ConfigFilePath()) ? MF_ENABLED : MF_GRAYED));
}

bool OnSystemMenuCommand(UINT command) {
    switch (command & 0xFFF0) {
        case kMenuJapanese: SwitchLanguage(Language::kJapanese); break;
        case kMenuEnglish: SwitchLanguage(Language::kEnglish); break;
        case kMenuRestore: RestoreFromWindow(); break;
        default: return false;
    }
    RefreshSystemMenu();
    return true;
}
