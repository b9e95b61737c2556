// The English face: what each page, the address dialog and the messages show in place of
// their Japanese texts. Plain data; the dialog templates stay Japanese and unchanged.
#pragma once

#include <cstddef>

// A control's English text is found by its identifier, or, for a control without one
// (group boxes, captions), by its place in the template: the dialog manager creates the
// controls in template order, so the place is the control's index among its window's
// children. Nothing is found by the text it shows.
struct ControlRef {
    int id;     // the control identifier, or kNoControlId
    int place;  // for kNoControlId: the index of the control in the template
};
inline constexpr int kNoControlId = -1;
constexpr ControlRef Id(int id) { return {id, -1}; }
constexpr ControlRef Place(int place) { return {kNoControlId, place}; }

// One control's text in both faces. Both texts are CP932 bytes; the Japanese one is the
// template's caption, so switching back restores exactly what the template shows.
struct ControlText {
    ControlRef control;
    const char* japanese;
    const char* english;
};

// One window's English texts: its controls, and the label the window carries elsewhere (a
// page's tab label; the address dialog's own caption). The Japanese label is the page
// table's tab label, or the dialog template's caption.
struct WindowTexts {
    const char* english_label;
    const ControlText* controls;
    std::size_t count;
};

// Per page, by page index order of the page table, and the address dialog.
extern const WindowTexts options_page_texts;
extern const WindowTexts connect_page_texts;
extern const WindowTexts denied_page_texts;
extern const WindowTexts allowed_page_texts;
extern const WindowTexts key_config_page_texts;
extern const WindowTexts message_page_texts;
extern const WindowTexts address_dialog_texts;

// Save and Exit, on every page.
extern const WindowTexts page_frame_texts;
