// The face the window shows, Japanese or English, and how it is remembered per user.
// Windows only.
#pragma once

#include <windows.h>

#include "ui/english_texts.h"
#include "model/language.h"

extern Language current_language;

// Where the choice is remembered under HKEY_CURRENT_USER (value "Language", "ja" or
// "en"). Tests point it at a key of their own.
extern const wchar_t* language_registry_key;

// Chooses the face at start-up, before anything is shown: the remembered choice, or the
// user's Windows UI language. Messages from then on are shown in that face.
void InitLanguage();

// Start-up, once the pages exist: the English texts if that is the face (the Japanese
// face needs nothing: it is the templates' own).
void ShowLanguage();

// Switches every page, tab label and later message to `language` and remembers the
// choice; a registry that cannot be written only means it is not remembered.
void SwitchLanguage(Language language);

// Puts the texts of a window made from `dialog_template` into the current face (the
// address dialog as it opens).
void ShowWindowTexts(HWND window, int dialog_template, const WindowTexts& texts);

// A text shown at run time, in the current face.
const char* LocalText(MessageId id);

// Back to the state before InitLanguage: Japanese, messages included.
void ResetLanguage();
