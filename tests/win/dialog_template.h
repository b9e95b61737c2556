// Reads an extended dialog template from the program's resources, so tests can see what
// a template asks for before the dialog manager and the controls adjust it.
#pragma once

#include <windows.h>

#include <map>
#include <string>

struct DialogTemplateInfo {
    bool found = false;
    DWORD style = 0;
    // The font the template names (present when the style carries DS_SETFONT).
    WORD point_size = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring face;
    // Each control's style bits by control id, exactly as the template gives them.
    std::map<int, DWORD> item_styles;
};

DialogTemplateInfo ReadDialogTemplate(int dialog_id);
