// Start-up, the main window, the message loop and the clean-up at exit.
#include "ui/startup_win.h"

#include <dbt.h>

#include "ui/config_file.h"
#include "message/error_message.h"
#include "config/game_config.h"
#include "input/devices_win.h"
#include "input/window_context_win.h"
#include "ui/caption_fit_win.h"
#include "ui/key_config_page_win.h"
#include "ui/resources/resource_ids.h"
#include "ui/system_menu_win.h"
#include "ui/language_win.h"
#include "ui/window_dpi_win.h"
#include "ui/window_win.h"

HINSTANCE instance = nullptr;
HWND main_window = nullptr;
HWND page_windows[kPageCount] = {};
HWND current_page = nullptr;
WindowContext* startup_context = nullptr;

const PageTableEntry* const page_table[kPageCount] = {
    &options_page, &connect_page, &denied_page, &allowed_page, &key_config_page, &message_page,
};
namespace {

const char kWindowClass[] = "QORConfig";
const char kWindowTitle[] = "QORConfig";

// Posted after a change of scale, so that the captions are measured, and the window
// fitted to the pages as at start-up, once the system has given the pages their fonts
// for the new scale.
constexpr UINT kRefitPages = WM_APP + 1;

// A move to a monitor of another scale: the rectangle the system suggests, at once; the
// captions and the window's fit when the system is done with the pages.
void OnScaleChange(HWND window, LPARAM suggested) {
    if (suggested == 0) return;
    OnDpiChanged(window, *reinterpret_cast<const RECT*>(suggested));
    PostMessageW(window, kRefitPages, 0, 0);
}

void OnRefitPages(HWND window) {
    WidenPageCaptions();
    FitWindowToPages(window, page_windows, kPageCount, FitPlace::kWhereItStands);
}

// The HID device interface class, to which game controllers belong.
constexpr GUID kHidInterfaceClass = {0x4d1e55b2, 0xf16f, 0x11cf, {0x88, 0xcb, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

HDEVNOTIFY controller_notices = nullptr;

// Every top-level window hears DBT_DEVNODES_CHANGED when any device comes or goes; this
// adds an arrival and a removal notice for each HID interface, controllers among them.
void RegisterControllerNotices(HWND window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kHidInterfaceClass;
    controller_notices = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void UnregisterControllerNotices() {
    if (controller_notices != nullptr) UnregisterDeviceNotification(controller_notices);
    controller_notices = nullptr;
}

// Arrivals and removals also come, unasked, for volumes and ports: only the interfaces
// registered for count, besides the broadcast that some device changed.
bool IsDeviceNotice(WPARAM event, LPARAM data) {
    if (event == DBT_DEVNODES_CHANGED) return true;
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return false;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    return header != nullptr && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE;
}

void OnDeviceChange(WPARAM event, LPARAM data) {
    if (IsDeviceNotice(event, data)) OnDeviceNotice();
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CLOSE: DestroyWindow(window); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        case WM_DPICHANGED: OnScaleChange(window, lparam); return 0;
        case kRefitPages: OnRefitPages(window); return 0;
        case WM_DEVICECHANGE: OnDeviceChange(wparam, lparam); return TRUE;
        case WM_SYSCOMMAND:
            if (OnSystemMenuCommand(static_cast<UINT>(wparam))) return 0;
            return DefWindowProcA(window, message, wparam, lparam);
        case WM_INITMENU: RefreshSystemMenu(); return DefWindowProcA(window, message, wparam, lparam);
        case WM_ACTIVATE:  // a minimised window is activated too, but shows nothing
            OnMainWindowActivation(LOWORD(wparam) != WA_INACTIVE && HIWORD(wparam) == 0);
            return DefWindowProcA(window, message, wparam, lparam);
        default: return DefWindowProcA(window, message, wparam, lparam);
    }
}

bool RegisterMainWindowClass() {
    WNDCLASSA window_class = {};
    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = MainWindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP_ICON));
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kWindowClass;
    return RegisterClassA(&window_class) != 0;
}

// Centred from the screen size alone, at the size for the system's scale; once the pages
// exist it is fitted to them (FitWindowToPages).
HWND CreateMainWindow() {
    const SIZE size = ScaledWindowSize(WindowDpi(nullptr));
    const POINT origin = CentredOrigin(size);
    return CreateWindowExA(0, kWindowClass, kWindowTitle,
                           WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, origin.x, origin.y,
                           size.cx, size.cy, nullptr, nullptr, instance, nullptr);
}

// Pages are created in index order; each fills its tab control while it is created.
bool CreatePages() {
    for (int index = 0; index < kPageCount; ++index) {
        const PageTableEntry& entry = *page_table[index];
        // A Unicode dialog: its captions come from the template as they are, and typed
        // characters reach its edits whole, whatever the system's code page is.
        HWND page = CreateDialogParamW(instance, MAKEINTRESOURCEW(entry.dialog_template),
                                       main_window, entry.procedure, 0);
        if (page == nullptr) return false;
        page_windows[index] = page;
        ShowWindow(page, index == kOptionsPage ? SW_SHOW : SW_HIDE);
        PopulatePage(index);
    }
    return true;
}

// The common controls library is loaded here rather than imported: an imported library
// is loaded, and registers its window classes, before the program starts, which under
// Wine holds up the main window's first appearance by about a fifth. It stays loaded for
// the life of the process, since the pages' tab controls and trackbars live in it.
void InitCommonControlsLibrary() {
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == nullptr) return;
    using InitFunction = void(WINAPI*)();
    auto init = reinterpret_cast<InitFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "InitCommonControls")));
    if (init != nullptr) init();
}

}  // namespace

bool CreateToolWindow(HINSTANCE program_instance, int show_command) {
    instance = program_instance;
    if (!RegisterMainWindowClass()) return false;
    main_window = CreateMainWindow();
    if (main_window == nullptr) return false;
    ShowWindow(main_window, show_command);
    UpdateWindow(main_window);
    InitCommonControlsLibrary();
    // The input layer reports its own failures; the tool works without it.
    startup_context = new WindowContext{main_window, instance};
    InitInput(startup_context);
    if (!CreatePages()) return false;
    current_page = page_windows[kOptionsPage];
    ShowLanguage();
    WidenPageCaptions();
    FitWindowToPages(main_window, page_windows, kPageCount);
    AddSystemMenuItems(main_window);
    RegisterControllerNotices(main_window);
    return true;
}

void WidenPageCaptions() {
    for (HWND page : page_windows) WidenCutCaptions(page);
}

// No IsDialogMessage: the pages keep no dialog keyboard handling. The loop is Unicode,
// so a typed character reaches the pages' edits as UTF-16 and is never squeezed through
// the system's code page on the way.
void RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void ReleaseToolWindow() {
    UnregisterControllerNotices();
    if (main_window != nullptr && IsWindow(main_window)) DestroyWindow(main_window);
    if (instance != nullptr) UnregisterClassA(kWindowClass, instance);
    ReleaseConfig();
    delete startup_context;
    startup_context = nullptr;
    ResetLanguage();
    main_window = nullptr;
    current_page = nullptr;
    for (HWND& page : page_windows) page = nullptr;
}

int RunTool(HINSTANCE program_instance, int show_command) {
    // The face is chosen first, so that the messages of the load speak it too.
    InitLanguage();
    if (!LoadConfig()) {
        ShowErrorMessage(MessageId::kLoadFailed);
        return 0;
    }
    if (CreateToolWindow(program_instance, show_command)) RunMessageLoop();
    ReleaseToolWindow();
    return 0;
}
