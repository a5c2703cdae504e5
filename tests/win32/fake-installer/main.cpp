// Test program standing in for the update installer: puts up dialogs of the
// two shapes the closing dialog presses, and appends to LOGFILE one line
// per button click ("<shape> clicked <id>"), "ready" once every dialog is
// up and "exit" at the end. A click on an identifier-1 button closes its
// dialog; the program ends when its dialogs are gone, or after 60 s.
// press-drovik-cancel clicks Cancel of the closing dialog once it shows;
// watch-drovik notes "drovik visible 1" (with "drovik at X Y WIDTH HEIGHT")
// and then "drovik hidden 0" as the
// closing dialog is seen shown and then hidden (a dialog that ends in the
// tick that hides it may be gone before it is seen hidden).
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char* g_log = nullptr;
int g_open = 0;
bool g_pressDrovik = false;
bool g_watchDrovik = false;

void Record(const char* fmt, const char* a, int b) {
  if (FILE* f = std::fopen(g_log, "ab")) {
    std::fprintf(f, fmt, a, b);
    std::fputc('\n', f);
    std::fclose(f);
  }
}

struct Shape {
  const char* name;
  int templateId;
  int paneTemplateId;  // 0: no pane
};

const Shape kShapes[] = {
    {"ok-cancel", 200, 0}, {"cancel-ok", 201, 0}, {"cancel-only", 202, 0},
    {"pane", 203, 204},    {"pane-no-ok", 203, 205},
};

INT_PTR CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(pane, DWLP_USER, lParam);
    SetDlgItemTextA(pane, 0xFBAE, "The updates were installed.");
    return TRUE;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    const Shape* shape = reinterpret_cast<const Shape*>(GetWindowLongPtrA(pane, DWLP_USER));
    Record("%s clicked %d", shape->name, LOWORD(wParam));
    if (LOWORD(wParam) == IDOK) DestroyWindow(GetParent(pane));
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const Shape* shape = reinterpret_cast<const Shape*>(lParam);
      if (shape->paneTemplateId != 0) {
        HWND pane = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(shape->paneTemplateId),
                                       dialog, PaneProc, lParam);
        // The shape needs the pane as the outer window's last child.
        HWND last = GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDLAST);
        if (pane == nullptr || last != pane) Record("%s pane-not-last %d", shape->name, 0);
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) {
        const Shape* shape = reinterpret_cast<const Shape*>(GetWindowLongPtrA(dialog, DWLP_USER));
        Record("%s clicked %d", shape->name, LOWORD(wParam));
        if (LOWORD(wParam) == IDOK) DestroyWindow(dialog);
      }
      return TRUE;
    case WM_DESTROY:
      if (--g_open == 0 && !g_pressDrovik && !g_watchDrovik) PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

// Presses Cancel of the closing dialog once it is visible, as the user would.
void CALLBACK LookForDrovik(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND drovik = FindWindowExA(nullptr, nullptr, "#32770", "Drovik");
  if (drovik == nullptr || !IsWindowVisible(drovik)) return;
  HWND cancel = GetDlgItem(drovik, IDCANCEL);
  if (cancel == nullptr) return;
  PostMessageA(cancel, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PostMessageA(cancel, WM_LBUTTONUP, 0, 0);
  Record("%s pressed %d", "drovik", IDCANCEL);
  KillTimer(nullptr, timer);
  g_pressDrovik = false;
  if (g_open == 0 && !g_watchDrovik) PostQuitMessage(0);
}

// Notes when the closing dialog is first seen shown, and first seen hidden
// after that; stops at its end.
void CALLBACK WatchDrovik(HWND, UINT, UINT_PTR timer, DWORD) {
  static int state = 0;  // 0 not seen, 1 seen visible
  HWND drovik = FindWindowExA(nullptr, nullptr, "#32770", "Drovik");
  bool done = false;
  if (drovik == nullptr) {
    done = state == 1;  // it ended without being seen hidden
  } else if (state == 0 && IsWindowVisible(drovik)) {
    Record("%s visible %d", "drovik", 1);
    state = 1;
    // Where it opened: the middle of the screen.
    RECT r = {};
    GetWindowRect(drovik, &r);
    char where[96];
    std::snprintf(where, sizeof where, "%ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    Record("drovik at %s%.0d", where, 0);
  } else if (state == 1 && !IsWindowVisible(drovik)) {
    Record("%s hidden %d", "drovik", 0);
    done = true;
  }
  if (done) {
    KillTimer(nullptr, timer);
    g_watchDrovik = false;
    if (g_open == 0 && !g_pressDrovik) PostQuitMessage(0);
  }
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) {
  Record("%s %d", "timeout", 60);
  PostQuitMessage(1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 100;
  g_log = __argv[1];
  for (int i = 2; i < __argc; ++i) {
    // The update package itself, when the shell starts this program for it.
    const size_t n = std::strlen(__argv[i]);
    if (n >= 4 && _stricmp(__argv[i] + n - 4, ".msu") == 0) continue;
    if (std::strcmp(__argv[i], "press-drovik-cancel") == 0) {
      g_pressDrovik = true;
      SetTimer(nullptr, 0, 100, LookForDrovik);
      continue;
    }
    if (std::strcmp(__argv[i], "watch-drovik") == 0) {
      g_watchDrovik = true;
      SetTimer(nullptr, 0, 20, WatchDrovik);
      continue;
    }
    bool known = false;
    for (const Shape& shape : kShapes) {
      if (std::strcmp(__argv[i], shape.name) != 0) continue;
      known = true;
      if (CreateDialogParamA(instance, MAKEINTRESOURCEA(shape.templateId), nullptr, DialogProc,
                             reinterpret_cast<LPARAM>(&shape)) != nullptr) {
        ++g_open;
      } else {
        Record("%s not-created %d", shape.name, static_cast<int>(GetLastError()));
      }
    }
    if (!known) Record("%s unknown-shape %d", __argv[i], 0);
  }
  Record("%s %d", "ready", g_open);
  SetTimer(nullptr, 0, 60000, GiveUp);
  int status = 0;
  if (g_open > 0 || g_pressDrovik || g_watchDrovik) {
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (got != -1) status = static_cast<int>(msg.wParam);
  }
  Record("%s %d", "exit", status);
  return status;
}
