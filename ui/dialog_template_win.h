// Reads an extended dialog template from the program's resources: what a template asks
// for before the dialog manager and the controls adjust it, and the captions it gives,
// which the Japanese face shows as they stand there. Windows only.
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
    // Each control's style bits and caption by control id, exactly as the template gives them.
    std::map<int, DWORD> item_styles;
    std::map<int, std::wstring> item_texts;
};

DialogTemplateInfo ReadDialogTemplate(int dialog_id);

// The caption the template gives the control, or an empty text.
std::wstring TemplateCaption(int dialog_id, int control_id);
