// The window's guard over the file it shows: Save asks before it overwrites a file that
// another program changed, and the file from before the last save can be put back.
// Windows only.
#pragma once

#include <windows.h>

// Save, as every page's Save button does it: when the file on disk is no longer the one
// the window loaded or last saved (other bytes, or gone), asks whether to overwrite it;
// No writes nothing and shows nothing more. A file held so that it cannot be read is
// waited for as the load waits, and then saved as before without a question. Then saves
// as SaveConfig does. Returns the save's result (false also for No).
bool SaveFromWindow();

// The restore: asks as Save does when another program changed the file, then whether to
// restore (saying so when the backup is older than the last save), puts the backup back
// as the file and populates every page from it; without a backup (it may go while the
// menu is open) says so.
void RestoreFromWindow();

// Where the window's Yes/No questions go: a modal box owned by the main window, or,
// in tests, a function that records the question and answers it. Returns the previous
// one; null brings back the box.
using QuestionAnswerer = bool (*)(HWND owner, const char* text);
QuestionAnswerer SetQuestionAnswerer(QuestionAnswerer answerer);
