#include "tools/setup-check/key_catalogue.h"

#include "tools/setup-check/profile_file.h"

namespace {

const VariantKeys kVariants[kVariantCount] = {
    {"vista-x64", "SetupVistax64Path", "SetupVistax64Exe", "AnotherAPVistax64Exe"},
    {"vista-x86", "SetupVistax86Path", "SetupVistax86Exe", "AnotherAPVistax86Exe"},
    {"xp-x64", "SetupXPx64Path", "SetupXPx64Exe", "AnotherAPXPx64Exe"},
    {"xp-x86", "SetupXPx86Path", "SetupXPx86Exe", "AnotherAPXPx86Exe"},
};

}  // namespace

const VariantKeys* Variants() { return kVariants; }

const std::vector<KeyDef>& KeyCatalogue() {
  static const std::vector<KeyDef> keys = {
      {"DeviceIDNum", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"DevDrvID", KeyKind::Text, "", 10, "DeviceIDNum", KeyRole::HardwareIdPrefix},
      {"DeviceIDSection", KeyKind::Text, "", 10, "DeviceIDNum", KeyRole::Plain},
      {"SetupVistax64Path", KeyKind::Text, "Vista_x64", 0, nullptr, KeyRole::SetupFolder},
      {"SetupVistax64Exe", KeyKind::Text, "SetupDrv.exe", 0, nullptr, KeyRole::SetupProgram},
      {"SetupVistax86Path", KeyKind::Text, "Vista_x86", 0, nullptr, KeyRole::SetupFolder},
      {"SetupVistax86Exe", KeyKind::Text, "SetupDrv.exe", 0, nullptr, KeyRole::SetupProgram},
      {"SetupXPx64Path", KeyKind::Text, "XP_x64", 0, nullptr, KeyRole::SetupFolder},
      {"SetupXPx64Exe", KeyKind::Text, "SetupDrv.exe", 0, nullptr, KeyRole::SetupProgram},
      {"SetupXPx86Path", KeyKind::Text, "XP_x86", 0, nullptr, KeyRole::SetupFolder},
      {"SetupXPx86Exe", KeyKind::Text, "SetupDrv.exe", 0, nullptr, KeyRole::SetupProgram},
      {"SilenceMode", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"EnableAudioClass", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"EnableXPAudioClass", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"DelAudioRegKey", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"DelAudioRegKeyMessage", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"EnableAudioVol", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"EnableTimer", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"WaitTimer", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"CheckFinishInstall", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"AnotherAPNum", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
      {"AnotherAPVistax64Exe", KeyKind::Text, "", 5, "AnotherAPNum", KeyRole::FurtherProgram},
      {"AnotherAPVistax86Exe", KeyKind::Text, "", 5, "AnotherAPNum", KeyRole::FurtherProgram},
      {"AnotherAPXPx64Exe", KeyKind::Text, "", 5, "AnotherAPNum", KeyRole::FurtherProgram},
      {"AnotherAPXPx86Exe", KeyKind::Text, "", 5, "AnotherAPNum", KeyRole::FurtherProgram},
      {"Setup", KeyKind::Text, "SetupDrv", 0, nullptr, KeyRole::Plain},
      {"NoSetupPath", KeyKind::Text, "The driver of this version does not support this operating system.", 0,
       nullptr, KeyRole::Plain},
      {"RePlugin", KeyKind::Text, "Please Re-Plugin the USB device on your computer.", 0, nullptr,
       KeyRole::Plain},
      {"LaunchAnotherAPParam", KeyKind::Text, "0", 0, nullptr, KeyRole::Plain},
      {"MustRePlugin", KeyKind::Integer, "0", 0, nullptr, KeyRole::Plain},
  };
  return keys;
}

std::vector<std::string> AllKeyNames() {
  std::vector<std::string> names;
  for (const KeyDef& k : KeyCatalogue()) {
    if (k.tableSize == 0) {
      names.push_back(k.base);
    } else {
      for (int i = 0; i < k.tableSize; ++i) names.push_back(std::string(k.base) + std::to_string(i));
    }
  }
  return names;
}

const KeyDef* FindKeyDef(const std::string& name, int* index) {
  if (index) *index = -1;
  for (const KeyDef& k : KeyCatalogue()) {
    if (k.tableSize == 0) {
      if (ProfileFile::NamesEqual(name, k.base)) return &k;
      continue;
    }
    for (int i = 0; i < k.tableSize; ++i) {
      if (ProfileFile::NamesEqual(name, std::string(k.base) + std::to_string(i))) {
        if (index) *index = i;
        return &k;
      }
    }
  }
  return nullptr;
}
