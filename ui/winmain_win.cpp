// Entry point of QORConfig.exe.
#include <windows.h>

#include "ui/startup_win.h"

int WINAPI WinMain(HINSTANCE program_instance, HINSTANCE, LPSTR, int show_command) {
    return RunTool(program_instance, show_command);
}
