// The extended dialog template reader.
#include "ui/dialog_template_win.h"

#include <cstring>

DialogTemplateInfo ReadDialogTemplate(int dialog_id) {
    DialogTemplateInfo info;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(dialog_id), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (found == nullptr) return info;
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    if (base == nullptr) return info;
    info.found = true;
    const BYTE* p = base;
    auto byte = [&p] { return *p++; };
    auto word = [&p] { WORD w; std::memcpy(&w, p, 2); p += 2; return w; };
    auto dword = [&p] { DWORD d; std::memcpy(&d, p, 4); p += 4; return d; };
    auto read_sz = [&] {
        std::wstring text;
        for (WORD w = word(); w != 0; w = word()) text.push_back(static_cast<wchar_t>(w));
        return text;
    };
    auto skip_sz_or_ord = [&] {
        WORD first = word();
        if (first == 0xffff) word();
        else if (first != 0) while (word() != 0) {}
    };
    auto align = [&] { p = base + ((p - base + 3) & ~3); };
    word();   // version
    word();   // signature
    dword();  // help id
    dword();  // extended style
    info.style = dword();
    const WORD items = word();
    p += 8;   // x, y, cx, cy
    skip_sz_or_ord();  // menu
    skip_sz_or_ord();  // class
    skip_sz_or_ord();  // title
    if (info.style & DS_SETFONT) {
        info.point_size = word();
        info.weight = word();
        info.italic = byte();
        info.charset = byte();
        info.face = read_sz();
    }
    for (WORD i = 0; i < items; ++i) {
        align();
        dword();  // help id
        dword();  // extended style
        const DWORD item_style = dword();
        p += 8;
        const int id = static_cast<int>(dword());
        skip_sz_or_ord();  // class
        std::wstring text;
        if (WORD first = word(); first == 0xffff) {
            word();  // an ordinal: a resource, not a caption
        } else if (first != 0) {
            text.push_back(static_cast<wchar_t>(first));
            text += read_sz();
        }
        p += word();       // creation data
        info.item_styles[id] = item_style;
        info.item_texts[id] = text;
    }
    return info;
}

std::wstring TemplateCaption(int dialog_id, int control_id) {
    const DialogTemplateInfo info = ReadDialogTemplate(dialog_id);
    const auto found = info.item_texts.find(control_id);
    return found != info.item_texts.end() ? found->second : std::wstring();
}
