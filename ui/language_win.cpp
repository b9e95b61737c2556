// The face of the window: chosen at start-up, switched from the system menu, remembered
// per user in the registry. The game's file is never touched by it.
#include "ui/language_win.h"

#include <commctrl.h>

#include <string>

#include "text/cp932_text.h"
#include "message/error_message.h"
#include "ui/dialog_template_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/window_win.h"
#include "ui/window_text_win.h"

Language current_language = Language::kJapanese;
const wchar_t* language_registry_key = L"Software\\QORConfig";

namespace {

const wchar_t kLanguageValue[] = L"Language";

// The remembered choice, or an empty text when there is none.
std::string StoredLanguage() {
    wchar_t value[8] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, language_registry_key, kLanguageValue, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    std::string code;
    for (const wchar_t* c = value; *c != L'\0'; ++c) code += static_cast<char>(*c < 0x80 ? *c : '?');
    return code;
}

void RememberLanguage(Language language) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, language_registry_key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring code = WideFromCp932(LanguageCode(language));
    RegSetValueExW(key, kLanguageValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(code.c_str()),
                   static_cast<DWORD>((code.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void SetMessageFace() { SetMessageLanguage(current_language); }

bool IsEnglish() { return current_language == Language::kEnglish; }

const char* Pick(const char* japanese, const char* english) { return IsEnglish() ? english : japanese; }

// The Japanese face is the template's own caption, as the dialog manager first showed it.
void ShowControlText(HWND window, int dialog_template, const ControlText& row) {
    HWND control = GetDlgItem(window, row.id);
    if (control == nullptr) return;
    if (IsEnglish())
        SetCp932Text(control, row.english);
    else
        SetWindowTextW(control, TemplateCaption(dialog_template, row.id).c_str());
}

void ShowTabLabels(HWND tab) {
    for (int index = 0; index < kPageCount; ++index) {
        const WindowTexts& texts = *page_table[index]->texts;
        std::wstring label = WideFromCp932(Pick(page_table[index]->tab_label, texts.english_label));
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = label.data();
        SendMessageW(tab, TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
    }
}

void ShowPages() {
    for (int index = 0; index < kPageCount; ++index) {
        HWND page = page_windows[index];
        ShowWindowTexts(page, page_table[index]->dialog_template, page_frame_texts);
        ShowWindowTexts(page, page_table[index]->dialog_template, *page_table[index]->texts);
        ShowTabLabels(GetDlgItem(page, IDC_TAB));
    }
}

}  // namespace

void InitLanguage() {
    current_language = ChooseLanguage(StoredLanguage(), GetUserDefaultUILanguage());
    SetMessageFace();
}

void ShowLanguage() {
    if (IsEnglish()) ShowPages();
}

void SwitchLanguage(Language language) {
    current_language = language;
    SetMessageFace();
    ShowPages();
    // The key page writes its controller and held lines at run time, from the messages.
    PopulatePage(kKeyConfigPage);
    WidenPageCaptions();
    RememberLanguage(language);
}

void ShowWindowTexts(HWND window, int dialog_template, const WindowTexts& texts) {
    for (std::size_t i = 0; i < texts.count; ++i) ShowControlText(window, dialog_template, texts.controls[i]);
}

const char* LocalText(MessageId id) { return MessageIn(id, current_language); }

void ResetLanguage() {
    current_language = Language::kJapanese;
    SetMessageLanguage(Language::kJapanese);
}
