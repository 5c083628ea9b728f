// The configuration dialog: shows the ten options from the in-memory record,
// keeps the Trace-dependent controls consistent while it is open, and stores
// everything on OK. The procedure answers FALSE to every message so the
// dialog manager's default handling (focus, Esc, the caption's close button
// turned into IDCANCEL) always runs.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>

#include "app_State.h"
#include "settings_Win32.h"

#ifndef QUORVEX_CONTACT_MAIL
#error "QUORVEX_CONTACT_MAIL must come from the build (CMake cache variable of the same name)"
#endif
#ifndef QUORVEX_WEB_SITE
#error "QUORVEX_WEB_SITE must come from the build (CMake cache variable of the same name)"
#endif

namespace quorvex::win32 {
namespace {

enum ControlId : int {
    IdOk = 1,
    IdCancel = 2,
    IdShowFps = 256,
    IdUnSortPoints = 257,
    IdMouseSens = 258,
    IdMove3D = 259,
    IdMail = 260,
    IdWeb = 261,
    IdPrimitivePoints = 262,
    IdHuesOfGray = 263,
    IdTrace = 264,
    IdTraceMode = 265,
    IdTraceLength = 266,
    IdTraceLengthLabel = 267,
    IdShowClock = 268,
};

// Check box of each boolean field, in the order the dialog sets and reads them.
struct CheckBinding {
    int id;
    bool SaverSettings::*field;
};
constexpr CheckBinding CheckBoxes[] = {
    {IdShowFps, &SaverSettings::ShowFPS},
    {IdUnSortPoints, &SaverSettings::UnSortPoints},
    {IdMouseSens, &SaverSettings::MouseSens},
    {IdMove3D, &SaverSettings::Move3D},
    {IdPrimitivePoints, &SaverSettings::PrimitivePoints},
    {IdHuesOfGray, &SaverSettings::HuesOfGray},
    {IdTrace, &SaverSettings::Trace},
    {IdShowClock, &SaverSettings::ShowClock},
};

LRESULT SendItem(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(GetDlgItem(dialog, id), message, wParam, lParam);
}

bool IsChecked(HWND dialog, int id) { return SendItem(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void UpdateTraceControls(HWND dialog) {
    SaverSettings& settings = Host().Settings;
    const BOOL trace = settings.Trace ? TRUE : FALSE;
    EnableWindow(GetDlgItem(dialog, IdPrimitivePoints), !trace);
    EnableWindow(GetDlgItem(dialog, IdTraceMode), trace);
    EnableWindow(GetDlgItem(dialog, IdTraceLength), trace);
    EnableWindow(GetDlgItem(dialog, IdTraceLengthLabel), trace);
    if (trace) {
        // Trace always plots the points the simple way; the greyed box says so.
        SendItem(dialog, IdPrimitivePoints, BM_SETCHECK, BST_CHECKED, 0);
        settings.PrimitivePoints = true;
    }
}

void InitDialog(HWND dialog) {
    const HostState& host = Host();
    const SaverSettings& settings = host.Settings;
    for (int id = 6; id <= 8; ++id) {
        SendItem(dialog, IdTraceMode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(host.Strings[id]));
    }
    SendItem(dialog, IdTraceLength, TBM_SETRANGEMIN, TRUE, 0);
    SendItem(dialog, IdTraceLength, TBM_SETRANGEMAX, TRUE, 3);
    for (const CheckBinding& box : CheckBoxes) {
        SendItem(dialog, box.id, BM_SETCHECK, settings.*box.field ? 1 : 0, 0);
    }
    // An index outside the list leaves the box without a selection.
    SendItem(dialog, IdTraceMode, CB_SETCURSEL, static_cast<WPARAM>(settings.TraceModeInd), 0);
    SendItem(dialog, IdTraceLength, TBM_SETPOS, TRUE, settings.TraceLength);
    UpdateTraceControls(dialog);
}

void AcceptDialog(HWND dialog) {
    SaverSettings& settings = Host().Settings;
    for (const CheckBinding& box : CheckBoxes) {
        settings.*box.field = IsChecked(dialog, box.id);
    }
    settings.TraceModeInd = static_cast<int32_t>(SendItem(dialog, IdTraceMode, CB_GETCURSEL, 0, 0));
    settings.TraceLength = static_cast<int32_t>(SendItem(dialog, IdTraceLength, TBM_GETPOS, 0, 0));
    RegistrySettings registry;
    SaveSettings(registry, settings);
    EndDialog(dialog, 1);
}

void OpenTarget(const char* target) { ShellExecuteA(nullptr, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL); }

void OnCommand(HWND dialog, WPARAM command) {
    // Compared whole: only BN_CLICKED (notification 0) matches a button.
    switch (command) {
        case IdOk:
            AcceptDialog(dialog);
            break;
        case IdCancel:
            EndDialog(dialog, 1);
            break;
        case IdMail:
            OpenTarget("mailto:" QUORVEX_CONTACT_MAIL);
            break;
        case IdWeb:
            OpenTarget(QUORVEX_WEB_SITE);
            break;
        case IdTrace:
            // The automatic check box has already toggled itself.
            Host().Settings.Trace = IsChecked(dialog, IdTrace);
            UpdateTraceControls(dialog);
            break;
        default:
            break;
    }
}

}  // namespace

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        InitDialog(dialog);
    } else if (message == WM_COMMAND) {
        OnCommand(dialog, wParam);
    }
    return FALSE;
}

void RunConfigDialog(HWND owner) {
    // The trackbar class must exist before the template is instantiated.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // The owner comes unchecked from the command line; a handle that names
    // no window would make the dialog fail to appear at all.
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    const HostState& host = Host();
    DialogBoxParamA(host.Instance, host.Strings[5], owner, ConfigDialogProc, 0);
}

}  // namespace quorvex::win32
