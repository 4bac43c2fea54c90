// window.cpp - start-up, the main window and its toolbar, message routing, the loop and shutdown.
#include "window.h"

#include "compose/compose.h"
#include "core/host.h"
#include "res/resource.h"
#include "template/template.h"
#include "transcript/transcript.h"
#include "ui/commandline.h"
#include "ui/commands.h"
#include "ui/dpi.h"
#include "ui/font.h"
#include "ui/menus.h"
#include "ui/view.h"

// The records handed to the platform must have the sizes its 32-bit or 64-bit interface expects.
#ifdef _WIN64
static_assert(sizeof(WNDCLASSEXA) == 80, "WNDCLASSEXA is 80 bytes in 64-bit Windows");
static_assert(sizeof(TBBUTTON) == 32, "TBBUTTON is 32 bytes in 64-bit Windows");
#else
static_assert(sizeof(WNDCLASSEXA) == 48, "WNDCLASSEXA is 48 bytes in 32-bit Windows");
static_assert(sizeof(TBBUTTON) == 20, "TBBUTTON is 20 bytes in 32-bit Windows");
#endif

HWND MainWindow;
HWND ToolbarWindow;
HINSTANCE AppInstance;
HACCEL AcceleratorTable;

const char MAIN_WINDOW_CLASS[] = "MyWin";
static const char MAIN_WINDOW_CAPTION[] = "Zentavo";  // until a template's title replaces it
static const char* CommandLinePath;                   // the template path of the command line, or nullptr

// Each strip holds 8 images and the toolbar is told 9, as it always has been: no button uses the
// ninth, so the count only reserves a slot that stays blank, and changing it would change the
// toolbar's image list for nothing.
static const int TOOLBAR_IMAGE_COUNT = 9;
static const DWORD TOOLBAR_STYLE = WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS;
static const int TOOLBAR_BUTTON_COUNT = 9;
static TBBUTTON ToolbarButtons[TOOLBAR_BUTTON_COUNT];  // handed to the toolbar when it is made

static LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
static void ShutDownMainWindow(HWND window);

// Registers the class "MyWin" of the main window. Returns 1, or 0 when it fails.
static int RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "QUORVELICON");
    windowClass.hIconSm = LoadIconA(instance, "QUORVELICON");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = "QUORVELMENU";
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassExA(&windowClass) != 0;
}

// Creates the (still hidden) main window and keeps it in MainWindow. Returns 1, or 0 when it
// could not be created.
static int CreateMainWindow(HINSTANCE instance)
{
    MainWindow =
        CreateWindowExA(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_CAPTION, WS_OVERLAPPEDWINDOW | WS_VSCROLL, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    return MainWindow != nullptr;
}

// Fills ToolbarButtons: a separator gap, then the eight command buttons in image order.
static void FillToolbarButtons()
{
    // Image and command of each button, from the left; the first record is the separator gap.
    static const struct {
        int image;
        int command;
        BYTE style;
    } buttons[TOOLBAR_BUTTON_COUNT] = {
        {0, 0, TBSTYLE_SEP},           {0, CMD_OPEN, TBSTYLE_BUTTON}, {1, CMD_SHOW, TBSTYLE_BUTTON},
        {2, CMD_UP, TBSTYLE_BUTTON},   {3, CMD_DOWN, TBSTYLE_BUTTON}, {4, CMD_RECORD, TBSTYLE_BUTTON},
        {5, CMD_FONT, TBSTYLE_BUTTON}, {6, CMD_HELP, TBSTYLE_BUTTON}, {7, CMD_ABOUT, TBSTYLE_BUTTON},
    };
    // The record button is a plain push button: its pressed look comes only from the program.
    for (int i = 0; i < TOOLBAR_BUTTON_COUNT; i++) {
        ToolbarButtons[i] = TBBUTTON{};
        ToolbarButtons[i].iBitmap = buttons[i].image;
        ToolbarButtons[i].idCommand = buttons[i].command;
        ToolbarButtons[i].fsState = TBSTATE_ENABLED;
        ToolbarButtons[i].fsStyle = buttons[i].style;
    }
}

// Creates the toolbar of ToolbarButtons with the image strip nearest to ScreenDpi, and keeps it in
// ToolbarWindow. The buttons are given no size of their own: the toolbar makes them fit the strip's
// images.
static void CreateToolbar()
{
    FillToolbarButtons();
    InitCommonControls();
    const ToolbarStrip strip = ToolbarStripForDpi(ScreenDpi);
    ToolbarWindow =
        CreateToolbarEx(MainWindow, TOOLBAR_STYLE, ID_TOOLBAR, TOOLBAR_IMAGE_COUNT, AppInstance, strip.bitmap,
                        ToolbarButtons, TOOLBAR_BUTTON_COUNT, 0, 0, strip.imageSize, strip.imageSize, sizeof(TBBUTTON));
}

// The start-up load of CommandLinePath: grays the show command, then, when there is a path and
// the template loads, makes its title the caption and enables the show command. A failed load
// has shown the loader's warning and leaves the show command grayed.
static void LoadStartupTemplate()
{
    SetShowCommandState(0);
    if (!CommandLinePath) return;
    if (!LoadTemplate(CommandLinePath)) return;
    SetWindowTextA(MainWindow, LoadedTemplate.TitleBuffer);
    SetShowCommandState(1);
}

int StartMainWindow(HINSTANCE instance, char* tail)
{
    RecordStartTime();
    ReadScreenDpi();
    CommandLinePath = TemplatePathFromTail(tail);
    if (!RegisterMainWindowClass(instance)) return 0;
    if (!CreateMainWindow(instance)) return 0;
    AppInstance = instance;
    AcceleratorTable = LoadAcceleratorsA(instance, "QUORVELACCEL");
    CreateToolbar();
    ShowRecordingMark(0);
    SetFirstScrollRange();
    LoadStartupTemplate();
    return 1;
}

void ShowMainWindow(int showState)
{
    ShowWindow(MainWindow, showState);
    UpdateWindow(MainWindow);
}

int RunMessageLoop()
{
    MSG message;
    // GetMessageA gives -1 on an invalid call; the loop ends on anything but a real message.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(MainWindow, AcceleratorTable, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

// The window procedure of the class "MyWin": hands each message it handles to its handler and
// returns 0; every other message goes to DefWindowProcA.
static LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case WM_CREATE: CreateDisplayFont(); break;
        case WM_DESTROY: ShutDownMainWindow(window); break;
        case WM_SIZE: ResizeNewsView(window); break;
        case WM_PAINT: PaintNewsView(window); break;
        case WM_NOTIFY: SupplyToolTipText(reinterpret_cast<NMHDR*>(lParam)); break;
        case WM_COMMAND: RunCommand(LOWORD(wParam)); break;
        case WM_VSCROLL: ScrollNewsView(LOWORD(wParam), HIWORD(wParam)); break;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
    return 0;
}

// The main window's destruction: deletes the display font, stops recording when it is on,
// releases the help file and posts the quit message with exit code 0.
static void ShutDownMainWindow(HWND window)
{
    DeleteDisplayFont();
    if (RecordingFlag) StopTranscript();
    WinHelpA(window, HELP_FILE, HELP_QUIT, 0);
    PostQuitMessage(0);
}

void ResetMainWindow()
{
    if (MainWindow && IsWindow(MainWindow)) DestroyWindow(MainWindow);
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    UnregisterClassA(MAIN_WINDOW_CLASS, GetModuleHandleA(nullptr));
    MainWindow = nullptr;
    ToolbarWindow = nullptr;
    AppInstance = nullptr;
    CommandLinePath = nullptr;
    AcceleratorTable = nullptr;
    for (TBBUTTON& button : ToolbarButtons) button = TBBUTTON{};
}
