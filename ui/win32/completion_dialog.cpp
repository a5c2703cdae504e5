#include "ui/win32/completion_dialog.h"

#include "ui/win32/resource_ids.h"

namespace {

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_;
};

}  // namespace

CompletionDialog::CompletionDialog(HWND parent, int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer)
    : ModalDialog(IDD_COMPLETION_DIALOG, parent),
      AppIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP_ICON))),
      msuOpened_(MsuOpened),
      enableTimer_(EnableTimer),
      waitTimer_(WaitTimer) {}

CompletionDialog::~CompletionDialog() = default;

// In this order; everything else goes to the base's map.
const ModalDialog::MessageMapEntry CompletionDialog::kEntries[] = {
    {WM_PAINT, static_cast<Handler>(&CompletionDialog::OnPaint)},
    {WM_QUERYDRAGICON, static_cast<Handler>(&CompletionDialog::OnQueryDragIcon)},
    {WM_TIMER, static_cast<Handler>(&CompletionDialog::OnTimer)},
};
const ModalDialog::MessageMap CompletionDialog::kMap = {&ModalDialog::kMap, kEntries, 3};

BOOL CompletionDialog::OnInitDialog() {
  ModalDialog::OnInitDialog();
  SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon));
  SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(AppIcon));
  InitCompletionDialog(*this, msuOpened_, enableTimer_, waitTimer_);
  return TRUE;
}

void CompletionDialog::StartTimer(uint32_t timerId, int32_t intervalMs) {
  // The interval's bit pattern goes to the timer service as it is; the
  // service clamps what it does not take.
  SetTimer(Window(), timerId, static_cast<UINT>(intervalMs), nullptr);
}

void CompletionDialog::Hide() { ShowWindow(Window(), SW_HIDE); }

INT_PTR CompletionDialog::OnTimer(WPARAM wParam, LPARAM) {
  OnCompletionTimer(*this, windows_, static_cast<uintptr_t>(wParam));
  return Default();
}

INT_PTR CompletionDialog::OnPaint(WPARAM, LPARAM) {
  if (!IsIconic(Window())) return Default();
  PaintScope paint(Window());
  SendMessageA(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Dc()), 0);
  const int cx = GetSystemMetrics(SM_CXICON);
  const int cy = GetSystemMetrics(SM_CYICON);
  RECT client = {};
  GetClientRect(Window(), &client);
  const int x = CentredIconOrigin(client.right - client.left, cx);
  const int y = CentredIconOrigin(client.bottom - client.top, cy);
  DrawIcon(paint.Dc(), x, y, AppIcon);
  return TRUE;
}

INT_PTR CompletionDialog::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<INT_PTR>(AppIcon); }

void Win32ClosingDialog::RunCompletionDialog(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer) {
  RunAndReturnCode(MsuOpened, EnableTimer, WaitTimer);
}

INT_PTR Win32ClosingDialog::RunAndReturnCode(int32_t MsuOpened, int32_t EnableTimer, int32_t WaitTimer) {
  CompletionDialog dialog(nullptr, MsuOpened, EnableTimer, WaitTimer);
  dialog.SetMainWindowWhileRunning(true);
  return dialog.DoModal();
}
