#include "app/win32/message_box_win32.h"

#include <windows.h>

void Win32MessageBoxes::ShowMessage(const char* text, const char* caption, BoxIcon icon) {
  UINT style = MB_OK;
  if (icon == BoxIcon::Warning) style |= MB_ICONWARNING;
  MessageBoxA(NULL, text, caption, style);
}
