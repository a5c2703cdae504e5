#pragma once
#include "base/fixed_text.h"

// GetPrivateProfileStringA with a 256-character buffer: the value cut to
// 255 characters, or the default when the file, section or key is missing.
class ProfileReader {
 public:
  virtual void ReadString(const char* section, const char* key, const char* defaultText,
                          SettingText& out, const char* path) = 0;

 protected:
  ~ProfileReader() = default;
};
