#include "ui/win32/modal_dialog.h"

#include "app/application.h"

ModalDialog::ModalDialog(WORD templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

ModalDialog::~ModalDialog() = default;

const ModalDialog::MessageMapEntry ModalDialog::kEntries[] = {
    {WM_COMMAND, &ModalDialog::OnCommandMessage},
};
const ModalDialog::MessageMap ModalDialog::kMap = {nullptr, kEntries, 1};

BOOL ModalDialog::OnInitDialog() { return TRUE; }

void ModalDialog::OnOK() {
  DoDataExchange();
  EndDialog(IDOK);
}

void ModalDialog::OnCancel() { EndDialog(IDCANCEL); }

void ModalDialog::EndDialog(INT_PTR code) {
  if (window_ != nullptr) ::EndDialog(window_, code);
  ended_ = true;
}

INT_PTR ModalDialog::DoModal() {
  ended_ = false;
  const INT_PTR code = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent_,
                                       &ModalDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  Application* app = Application::Current();
  if (mainWindow_ && app != nullptr && app->MainWindow() == reinterpret_cast<uintptr_t>(window_)) {
    app->SetMainWindow(0);
  }
  window_ = nullptr;
  return code;
}

INT_PTR ModalDialog::OnCommandMessage(WPARAM wParam, LPARAM) {
  // Buttons (BN_CLICKED is 0), menus and accelerators alike; the dialog
  // manager sends IDOK for Enter and IDCANCEL for Esc and the close box.
  switch (LOWORD(wParam)) {
    case IDOK:
      OnOK();
      return TRUE;
    case IDCANCEL:
      OnCancel();
      return TRUE;
    default:
      return Default();
  }
}

INT_PTR ModalDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
    for (UINT i = 0; i < map->count; ++i) {
      if (map->entries[i].message == message) return (this->*(map->entries[i].handler))(wParam, lParam);
    }
  }
  return Default();
}

INT_PTR ModalDialog::InitWindow(HWND window) {
  window_ = window;
  Application* app = Application::Current();
  if (mainWindow_ && app != nullptr) app->SetMainWindow(reinterpret_cast<uintptr_t>(window));

  RECT before = {};
  GetWindowRect(window, &before);
  const BOOL result = OnInitDialog();

  // A dialog that did not place itself, and is still running, opens in the
  // middle of the screen's work area (or of its owner).
  RECT after = {};
  if (!ended_ && GetWindowRect(window, &after) && EqualRect(&before, &after) &&
      (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0) {
    RECT area = {};
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner == nullptr || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &area)) {
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int width = after.right - after.left;
    const int height = after.bottom - after.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return result;
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ModalDialog* dialog = reinterpret_cast<ModalDialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    return dialog->InitWindow(window);
  }
  ModalDialog* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  // Messages before WM_INITDIALOG (WM_SETFONT) reach no object.
  if (dialog == nullptr) return FALSE;
  return dialog->Dispatch(message, wParam, lParam);
}
