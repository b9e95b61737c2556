// Harvesting an edit's text without changing a text the user left alone.
#include "ui/harvest_text_win.h"

#include <cstring>

#include "config/cp932_text.h"
#include "ui/window_text_win.h"

std::string HarvestedEditText(HWND edit, const char* stored, std::size_t stored_size, std::size_t limit) {
    // Populating sets the text with WM_SETTEXT, which clears the edit's modify flag; the
    // user's typing, pasting and undoing set it.
    const bool edited = SendMessageW(edit, EM_GETMODIFY, 0, 0) != 0;
    std::string text = edited ? Cp932FromWide(WindowText(edit)).bytes : std::string(stored, strnlen(stored, stored_size));
    if (edited || text.size() > limit) text.resize(Cp932PrefixLength(text.data(), text.size(), limit));
    return text;
}
