// The English face: what each page, the address dialog and the messages show in place of
// their Japanese texts. Plain data; the dialog templates stay Japanese and unchanged.
#pragma once

#include <cstddef>

// A row for a control that has no identifier of its own (group boxes, captions): it
// applies to every such control of the window that shows its Japanese or English text.
inline constexpr int kNoControlId = -1;

// One control's text in both faces. Both texts are CP932 bytes; the Japanese one is the
// template's caption, so switching back restores exactly what the template shows.
struct ControlText {
    int id;  // the control identifier, or kNoControlId
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

// The English form of a text the program shows at run time (a message, "変更中"), found by
// its Japanese CP932 bytes; null when there is none.
const char* EnglishPhrase(const char* japanese);

// Every such text with its English form, for tests that check each one.
struct Phrase {
    const char* japanese;
    const char* english;
};
extern const Phrase english_phrases[];
extern const std::size_t english_phrase_count;
