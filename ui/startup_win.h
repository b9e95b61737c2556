// The steps of start-up and shut-down, as functions, so that tests build the window and
// its pages in-process exactly as the program does.
#pragma once

#include <windows.h>

struct WindowContext;

// The one WindowContext start-up creates; null before start-up and after clean-up.
extern WindowContext* startup_context;

// Everything the entry point does: load the configuration, create the window and the
// pages, run the message loop, clean up. Returns the exit status, which is always 0.
int RunTool(HINSTANCE program_instance, int show_command);

// Start-up after the configuration is loaded: registers the window class, creates and
// shows the main window, initialises the common controls and the input layer, creates
// and populates the six pages, and shows page 0. False when the class, the window or a
// page could not be created (nothing is shown to the user then).
bool CreateToolWindow(HINSTANCE program_instance, int show_command);

// Dispatches messages until the main window is gone and the quit message arrives.
void RunMessageLoop();

// Frees what start-up and the configuration hold: the configuration's heap parts and the
// WindowContext. Also destroys the main window if it still stands and unregisters the
// window class, so a test can start the tool again in the same process.
void ReleaseToolWindow();
