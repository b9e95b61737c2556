// The window's guard over the file it shows: Save asks before it overwrites a file that
// another program changed, and the system menu can put the file from before the last
// save back. Windows only.
#pragma once

#include <windows.h>

// The system-menu command that restores the backup (a multiple of 16, as
// WM_SYSCOMMAND keeps the low four bits for itself).
inline constexpr UINT kMenuRestore = 0x0030;

// Save, as every page's Save button does it: when the file on disk is no longer the one
// the window loaded or last saved (other bytes, or gone), asks whether to overwrite it;
// No writes nothing and shows nothing more. A file held so that it cannot be read is
// waited for as the load waits, and then saved as before without a question. Then saves
// as SaveConfig does. Returns the save's result (false also for No).
bool SaveFromWindow();

// Start-up, once the pages exist: appends the restore item to the main window's system
// menu, greyed when there is no backup.
void AddRestoreItem(HWND window);

// Greys or enables the restore item as the backup is there or not (the menu opening).
void RefreshRestoreItem();

// Puts the restore item's text into the current face.
void ShowRestoreItemText();

// Handles the restore command: asks as Save does when another program changed the file,
// then whether to restore (saying so when the backup is older than the last save), puts
// the backup back as the file and populates every page from it. False when `command` is not the restore item.
bool OnRestoreCommand(UINT command);

// Where the window's Yes/No questions go: a modal box owned by the main window, or,
// in tests, a function that records the question and answers it. Returns the previous
// one; null brings back the box.
using QuestionAnswerer = bool (*)(HWND owner, const char* text);
QuestionAnswerer SetQuestionAnswerer(QuestionAnswerer answerer);
