#pragma once
#include "app/profile_reader.h"

// Setting.ini through GetPrivateProfileStringA.
class Win32ProfileReader final : public ProfileReader {
 public:
  void ReadString(const char* section, const char* key, const char* defaultText, SettingText& out,
                  const char* path) override;
};
