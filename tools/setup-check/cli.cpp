#include "tools/setup-check/cli.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/setup-check/dry_run.h"
#include "tools/setup-check/report.h"

namespace {

constexpr int kBadUsage = 64;

const char kUsage[] =
    "usage: setup-check [options] PACKAGE_DIR\n"
    "\n"
    "Runs Setup.exe's launch sequence on the package's Setting.ini without\n"
    "installing anything, for each kind of Windows, and lints the package.\n"
    "\n"
    "options:\n"
    "  --os VARIANT            vista-x64, vista-x86, xp-x64 or xp-x86 (repeatable;\n"
    "                          default: all four)\n"
    "  --silent                start Setup.exe with the command-line word s\n"
    "  --device HARDWARE_ID    a device that is plugged in, e.g. USB\\VID_1D19&PID_6105\n"
    "                          (repeatable); shows which DevDrvID prefixes match\n"
    "  --finish-install MARK   yes, no or absent: the finished-install mark the driver\n"
    "                          setup leaves in the registry (default: yes)\n"
    "  --capture-device R8[,R37,R38]\n"
    "                          a capture device is plugged in, its driver installed,\n"
    "                          and its memory holds these register values (the\n"
    "                          audio-class byte 8, e.g. 0x50 or 0xD0, and the volume\n"
    "                          pair 37 and 38, default 0 and 1); without it no\n"
    "                          capture driver is found\n"
    "  --module-folder PATH    the package folder as Windows names it\n"
    "                          (default: Z: and the absolute path, as under Wine)\n"
    "  --json                  one JSON document instead of text\n"
    "  --trace                 only what would be seen, one line each: start, open,\n"
    "                          box, write, remove, dialog, exit (no findings; the exit\n"
    "                          status still counts them)\n"
    "  --help                  this text\n"
    "\n"
    "exit status: 0 clean, 1 warnings, 2 errors, 64 bad usage\n";

int BadUsage(std::string* err, const std::string& why) {
  *err += "setup-check: " + why + "\n" + kUsage;
  return kBadUsage;
}

// "R8" or "R8,R37,R38", each a number from 0 to 255 (0x.. or decimal).
bool ParseRegisters(const std::string& text, CaptureDeviceMemory* memory) {
  std::vector<long> values;
  size_t at = 0;
  while (at <= text.size()) {
    size_t comma = text.find(',', at);
    std::string part = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    char* end = nullptr;
    long v = std::strtol(part.c_str(), &end, 0);
    if (part.empty() || *end != '\0' || v < 0 || v > 255) return false;
    values.push_back(v);
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  if (values.size() != 1 && values.size() != 3) return false;
  memory->present = true;
  memory->register8 = static_cast<int32_t>(values[0]);
  if (values.size() == 3) {
    memory->register37 = static_cast<int32_t>(values[1]);
    memory->register38 = static_cast<int32_t>(values[2]);
  }
  return true;
}

bool IsVariant(const std::string& v) {
  for (int i = 0; i < 4; ++i)
    if (v == SystemKinds()[i].name) return true;
  return false;
}

std::string WindowsFormOf(const std::string& hostAbsolute) {
  std::string out = "Z:";
  for (char c : hostAbsolute) out += c == '/' ? '\\' : c;
  return out;
}

}  // namespace

int RunSetupCheck(const std::vector<std::string>& args, std::string* out, std::string* err) {
  const int argc = static_cast<int>(args.size()) + 1;
  DryRunOptions options;
  std::vector<std::string> variants;
  bool json = false;
  bool trace = false;
  std::string package;
  for (int i = 1; i < argc; ++i) {
    std::string a = args[i - 1];
    auto value = [&](std::string* to) {
      if (i + 1 >= argc) return false;
      *to = args[i++];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      *out += kUsage;
      return 0;
    } else if (a == "--json") {
      json = true;
    } else if (a == "--trace") {
      trace = true;
    } else if (a == "--silent") {
      options.silentWord = true;
    } else if (a == "--capture-device") {
      if (!value(&v) || !ParseRegisters(v, &options.captureDevice))
        return BadUsage(err, "--capture-device needs R8 or R8,R37,R38 (numbers 0 to 255, e.g. 0xD0)");
    } else if (a == "--os") {
      if (!value(&v) || !IsVariant(v)) return BadUsage(err, "--os needs vista-x64, vista-x86, xp-x64 or xp-x86");
      variants.push_back(v);
    } else if (a == "--device") {
      if (!value(&v) || v.empty()) return BadUsage(err, "--device needs a hardware ID");
      options.devices.push_back(v);
    } else if (a == "--finish-install") {
      if (!value(&v)) return BadUsage(err, "--finish-install needs yes, no or absent");
      if (v == "yes")
        options.finishInstall = FinishInstallMark::Yes;
      else if (v == "no")
        options.finishInstall = FinishInstallMark::No;
      else if (v == "absent")
        options.finishInstall = FinishInstallMark::Absent;
      else
        return BadUsage(err, "--finish-install needs yes, no or absent");
    } else if (a == "--module-folder") {
      if (!value(&v) || v.empty()) return BadUsage(err, "--module-folder needs a Windows path");
      options.moduleFolder = v;
    } else if (a.size() > 1 && a[0] == '-') {
      return BadUsage(err, "unknown option " + a);
    } else if (package.empty()) {
      package = a;
    } else {
      return BadUsage(err, "one package folder only");
    }
  }
  if (package.empty()) return BadUsage(err, "no package folder given");
  struct stat st;
  if (stat(package.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    return BadUsage(err, "not a folder: " + package);
  char resolved[PATH_MAX];
  if (!realpath(package.c_str(), resolved)) return BadUsage(err, "not a folder: " + package);
  options.packageDir = resolved;
  if (options.moduleFolder.empty()) options.moduleFolder = WindowsFormOf(options.packageDir);
  // The folder without a trailing separator, as the launcher derives it
  // (a package at the root of a drive is "C:").
  while (!options.moduleFolder.empty() && options.moduleFolder.back() == '\\') options.moduleFolder.pop_back();
  if (options.moduleFolder.empty()) return BadUsage(err, "--module-folder needs a Windows path");

  CheckResult result = CheckPackage(options, variants);
  *out += json ? JsonReport(result) : trace ? TraceReport(result) : TextReport(result);
  return result.ExitStatus();
}
