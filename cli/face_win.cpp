// The face on Windows: QORCFG_LANG, then the choice the window remembers for this user,
// then the user's UI language, as the window chooses its own.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "cli/texts.h"
#include "model/language.h"

namespace {

// The window's remembered choice (HKCU\Software\QORConfig, Language: "ja" or "en"), or
// an empty text when there is none.
std::string StoredChoice() {
    wchar_t value[8] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\QORConfig", L"Language", RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return {};
    std::string code;
    for (const wchar_t* c = value; *c != L'\0'; ++c) code += static_cast<char>(*c < 0x80 ? *c : '?');
    return code;
}

}  // namespace

Language SystemFace() {
    Language face;
    if (NamedLanguage(std::getenv("QORCFG_LANG"), face)) return face;
    return ChooseLanguage(StoredChoice(), GetUserDefaultUILanguage());
}
