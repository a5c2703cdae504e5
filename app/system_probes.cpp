// The probes the launch sequence branches on: the system's class and
// bitness, and the driver setup's finished-install mark.
#include "app/launcher_app.h"
#include "app/module_folder.h"

namespace {

const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kCurrentVersionKey32On64[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion";

constexpr uint32_t kPlatformWin32Nt = 2;

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (FoldAscii(*a) != FoldAscii(*b)) return false;
  return *a == *b;
}

}  // namespace

int32_t LauncherApp::DetectVista() {
  OsVersion version;
  if (!ports_->version.GetVersion(version)) return 0;
  // Every NT 6.x (Vista to 8.1) counts; NT 10 reports its own major version
  // and takes the XP-class path, as the driver package expects.
  return (version.platformId == kPlatformWin32Nt && version.major == 6) ? 1 : 0;
}

int32_t LauncherApp::Detect64Bit() {
  // A 64-bit Windows keeps a separate folder for 32-bit programs and names
  // it here; a 32-bit Windows has no such value. The value may fill the
  // whole buffer without a terminator, so it is taken by its byte count.
  char data[256] = {};
  FixedText<sizeof(data) + 1> value;
  {
    ScopedRegistryKey key(ports_->registry, kCurrentVersionKey, RegistryAccess::QueryValue);
    uint32_t size = sizeof(data);
    if (key.QueryValue("ProgramFilesDir (x86)", data, &size))
      value.AssignBytes(data, size < sizeof(data) ? size : sizeof(data));
  }
  const char* text = value.c_str();
  const char* lastParen = nullptr;
  for (const char* p = text; *p != '\0'; ++p)
    if (*p == '(') lastParen = p;
  return (lastParen && EqualsIgnoringCase(lastParen, "(x86)")) ? 1 : 0;
}

void LauncherApp::ReadFinishInstall() {
  // The driver setup is a 32-bit program as well; on a 64-bit system it
  // leaves its mark in the 32-bit view.
  ScopedRegistryKey key(ports_->registry, Is64_ ? kCurrentVersionKey32On64 : kCurrentVersionKey,
                        RegistryAccess::QueryValue);
  if (!key.IsOpen()) return;
  // Data shorter than 4 bytes is read as the low bytes of a zeroed integer;
  // longer data does not fit and fails the read.
  unsigned char data[4] = {};
  uint32_t size = sizeof(data);
  bool read = key.QueryValue("FinishInstall", data, &size);
  uint32_t mark = static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
                  (static_cast<uint32_t>(data[2]) << 16) | (static_cast<uint32_t>(data[3]) << 24);
  FinishInstallOk_ = (read && mark == 1) ? 1 : 0;
}

PathText LauncherApp::ComputeModuleFolder() {
  // A path that does not come whole (cut by the buffer, or no path at all)
  // gives no folder: nothing is then read or started from a guessed place.
  PathText modulePath;
  if (!ports_->modulePath.GetModulePath(modulePath)) return PathText();
  return FolderOfModulePath(modulePath);
}
