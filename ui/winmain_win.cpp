// Entry point of QORConfig.exe.
#include <windows.h>

#include "config/config_file.h"
#include "config/error_message.h"
#include "config/game_config.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!LoadConfig()) {
        ShowErrorMessage("コンフィグファイルの読み込みに失敗しました");
        return 0;
    }
    ReleaseConfig();
    return 0;
}
