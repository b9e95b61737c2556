// Harvesting an edit's text without changing a text the user left alone.
#include "ui/harvest_text_win.h"

#include <cstring>

std::size_t HarvestedEditText(HWND edit, const char* stored, std::size_t stored_size, char* out,
                              std::size_t out_size) {
    // Populating sets the text with WM_SETTEXT, which clears the edit's modify flag; the
    // user's typing, pasting and undoing set it.
    if (SendMessageW(edit, EM_GETMODIFY, 0, 0) != 0) {
        out[0] = '\0';
        int length = GetWindowTextA(edit, out, static_cast<int>(out_size));
        return length > 0 ? static_cast<std::size_t>(length) : 0;
    }
    std::size_t length = strnlen(stored, stored_size);
    if (length > out_size - 1) length = out_size - 1;
    std::memcpy(out, stored, length);
    out[length] = '\0';
    return length;
}
