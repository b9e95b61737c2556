// The English face: what each page and the address dialog show in place of their
// Japanese captions. Plain data; the dialog templates stay Japanese and unchanged.
#pragma once

#include <cstddef>

// One control's English text, found by the control's identifier: every control with a
// Japanese caption has one. The Japanese text is the template's own caption, read from
// the template when the Japanese face comes back, so it is written nowhere else.
struct ControlText {
    int id;
    const char* english;  // CP932 bytes (ASCII)
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
