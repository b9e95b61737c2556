// A Unicode subclass of an edit control that counts its text in CP932 bytes.
#include "ui/byte_limit_edit_win.h"

#include <imm.h>

#include <string>

#include "config/cp932_text.h"
#include "ui/window_text_win.h"

namespace {

const wchar_t kOriginalProcProperty[] = L"QORConfig.EditOriginalProc";
const wchar_t kByteLimitProperty[] = L"QORConfig.EditByteLimit";

WNDPROC OriginalProc(HWND edit) { return reinterpret_cast<WNDPROC>(GetPropW(edit, kOriginalProcProperty)); }

std::size_t ByteLimit(HWND edit) { return reinterpret_cast<std::size_t>(GetPropW(edit, kByteLimitProperty)); }

LRESULT CallOriginal(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWindowProcW(OriginalProc(edit), edit, message, wparam, lparam);
}

// The CP932 bytes a text takes in the file, up to a character CP932 cannot hold (the
// edit refuses such characters; only text set from outside can hold one).
std::size_t Cp932Bytes(const std::wstring& text) { return Cp932FromWide(text).bytes.size(); }

bool HasSelection(HWND edit) {
    DWORD start = 0, end = 0;
    CallOriginal(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

// Removes the selection the way typing over it would; returns the bytes left. The
// selection's units differ between platforms (characters or bytes), so it is measured by
// removing it rather than by its positions.
std::size_t RemoveSelection(HWND edit, BOOL can_undo) {
    if (HasSelection(edit)) CallOriginal(edit, EM_REPLACESEL, can_undo, reinterpret_cast<LPARAM>(L""));
    return Cp932Bytes(WindowText(edit));
}

// The text a typed character adds, or an empty text for keys that add none.
std::wstring TypedText(HWND edit, WPARAM key) {
    wchar_t ch = static_cast<wchar_t>(key);
    bool multiline = (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0;
    if (ch == L'\r' || ch == L'\n') return multiline ? L"\r\n" : L"";
    if (ch == L'\t') return L"\t";
    if (ch < L' ' || ch == 0x7F) return L"";  // backspace and the control keys
    return std::wstring(1, ch);
}

// A typed character goes in whole or not at all.
LRESULT OnChar(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    std::wstring typed = TypedText(edit, wparam);
    if (typed.empty()) return CallOriginal(edit, message, wparam, lparam);
    // A character CP932 cannot hold (half of a surrogate pair included) never goes in.
    const Cp932Prefix converted = Cp932FromWide(typed);
    if (converted.units < typed.size()) return 0;
    std::size_t limit = ByteLimit(edit);
    std::size_t adds = converted.bytes.size();
    std::wstring before = WindowText(edit);
    if (Cp932Bytes(before) + adds <= limit) return CallOriginal(edit, message, wparam, lparam);
    if (!HasSelection(edit)) return 0;
    DWORD start = 0, end = 0;
    CallOriginal(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (RemoveSelection(edit, TRUE) + adds <= limit) return CallOriginal(edit, message, wparam, lparam);
    // Does not fit even in place of the selection: put text, selection and the modify
    // flag (which WM_SETTEXT clears) back.
    LRESULT modified = CallOriginal(edit, EM_GETMODIFY, 0, 0);
    CallOriginal(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(before.c_str()));
    CallOriginal(edit, EM_SETSEL, start, end);
    CallOriginal(edit, EM_SETMODIFY, modified != 0, 0);
    return 0;
}

// Pasted or replacing text goes in as far as it fits, cut at a character boundary, and
// stops before a character CP932 cannot hold, as it would at the limit.
void ReplaceSelectionWithin(HWND edit, const std::wstring& insert, BOOL can_undo) {
    std::size_t limit = ByteLimit(edit);
    std::size_t left = RemoveSelection(edit, can_undo);
    std::size_t room = left < limit ? limit - left : 0;
    std::wstring fitted = insert.substr(0, Cp932FromWide(insert, room).units);
    if (!fitted.empty()) CallOriginal(edit, EM_REPLACESEL, can_undo, reinterpret_cast<LPARAM>(fitted.c_str()));
}

LRESULT OnReplaceSelection(HWND edit, WPARAM can_undo, LPARAM text) {
    const wchar_t* insert = reinterpret_cast<const wchar_t*>(text);
    if (!insert) return CallOriginal(edit, EM_REPLACESEL, can_undo, text);
    ReplaceSelectionWithin(edit, insert, static_cast<BOOL>(can_undo));
    return 0;
}

LRESULT OnPaste(HWND edit) {
    if (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) return CallOriginal(edit, WM_PASTE, 0, 0);
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(edit)) return 0;
    std::wstring pasted;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            pasted = text;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    if (!pasted.empty()) ReplaceSelectionWithin(edit, pasted, TRUE);
    return 0;
}

// Undo and an input method's result string change the text without passing through the
// messages above; a text they leave too long, or holding a character CP932 cannot hold,
// is cut there.
void CutToLimit(HWND edit) {
    std::wstring text = WindowText(edit);
    const std::size_t kept = Cp932FromWide(text, ByteLimit(edit)).units;
    if (kept == text.size()) return;
    text.resize(kept);
    CallOriginal(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    CallOriginal(edit, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);  // caret to the end
    CallOriginal(edit, EM_SETMODIFY, TRUE, 0);              // the user changed the text
}

LRESULT OnTextChangedElsewhere(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result = CallOriginal(edit, message, wparam, lparam);
    CutToLimit(edit);
    return result;
}

LRESULT OnDestroy(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    WNDPROC original = OriginalProc(edit);
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropW(edit, kOriginalProcProperty);
    RemovePropW(edit, kByteLimitProperty);
    return CallWindowProcW(original, edit, message, wparam, lparam);
}

LRESULT CALLBACK ByteLimitEditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CHAR: return OnChar(edit, message, wparam, lparam);
    case WM_PASTE: return OnPaste(edit);
    case EM_REPLACESEL: return OnReplaceSelection(edit, wparam, lparam);
    case WM_UNDO:
    case EM_UNDO: return OnTextChangedElsewhere(edit, message, wparam, lparam);
    case WM_IME_COMPOSITION:
        // Only the result string is text; a composition in progress is left alone.
        if (lparam & GCS_RESULTSTR) return OnTextChangedElsewhere(edit, message, wparam, lparam);
        break;
    case WM_NCDESTROY: return OnDestroy(edit, message, wparam, lparam);
    }
    return CallOriginal(edit, message, wparam, lparam);
}

}  // namespace

void LimitEditBytes(HWND edit, std::size_t limit) {
    if (!edit) return;
    SetPropW(edit, kByteLimitProperty, reinterpret_cast<HANDLE>(limit));
    if (OriginalProc(edit)) return;
    // The original procedure is known before the first message can reach the subclass.
    LONG_PTR original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    SetPropW(edit, kOriginalProcProperty, reinterpret_cast<HANDLE>(original));
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ByteLimitEditProc));
}
