// Test tool: makes device nodes with chosen hardware IDs and lists the
// nodes of the system, so that a scenario can see which nodes a removal
// took away.
//
//   devnode-tool create "ID1;ID2" ["ID1"]...   one registered node per argument,
//                                              its hardware-ID list split at ';'
//                                              ("raw:ID": exactly the bytes of ID,
//                                              no terminator stored)
//   devnode-tool list                          "<instance ID>|<first hardware ID>"
//                                              for every node the system knows
//   devnode-tool                               (no arguments: standing in for a
//                                              driver setup that installs nodes)
//                                              creates one node per line of
//                                              "<own path>.create" and writes their
//                                              instance IDs to "<own path>.created"
// Exit status 0 on success, 1 on any failure (with a line on stderr).
#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <cstring>

#include "devices/win32/device_info_set.h"

namespace {

// A class of its own, so that the nodes made here are easy to tell apart.
const GUID kTestClass = {0x8c0d1f1e, 0x3a47, 0x4e6b, {0x9c, 0x8e, 0x5a, 0x1f, 0x00, 0xd1, 0xce, 0x01}};

int Create(const char* list, FILE* out) {
  // A list not ending in its terminators, as a broken driver could leave it.
  bool raw = std::strncmp(list, "raw:", 4) == 0;
  if (raw) list += 4;
  char ids[4096];
  size_t n = std::strlen(list);
  if (n + 2 > sizeof(ids)) {
    std::fprintf(stderr, "hardware-ID list too long\n");
    return 1;
  }
  std::memcpy(ids, list, n + 1);
  for (size_t i = 0; i < n; ++i)
    if (ids[i] == ';') ids[i] = '\0';
  ids[n + 1] = '\0';

  DeviceInfoSet set(SetupDiCreateDeviceInfoList(&kTestClass, nullptr), &SetupDiDestroyDeviceInfoList);
  if (!set.IsValid()) {
    std::fprintf(stderr, "SetupDiCreateDeviceInfoList: %lu\n", GetLastError());
    return 1;
  }
  SP_DEVINFO_DATA element{};
  element.cbSize = sizeof(element);
  if (!SetupDiCreateDeviceInfoA(set.get(), "DEVNODETOOL", &kTestClass, nullptr, nullptr, DICD_GENERATE_ID,
                                &element)) {
    std::fprintf(stderr, "SetupDiCreateDeviceInfoA: %lu\n", GetLastError());
    return 1;
  }
  if (!SetupDiSetDeviceRegistryPropertyA(set.get(), &element, SPDRP_HARDWAREID,
                                         reinterpret_cast<const BYTE*>(ids), static_cast<DWORD>(raw ? n : n + 2))) {
    std::fprintf(stderr, "SetupDiSetDeviceRegistryPropertyA: %lu\n", GetLastError());
    return 1;
  }
  if (!SetupDiRegisterDeviceInfo(set.get(), &element, 0, nullptr, nullptr, nullptr)) {
    std::fprintf(stderr, "SetupDiRegisterDeviceInfo: %lu\n", GetLastError());
    return 1;
  }
  char instance[512];
  if (!SetupDiGetDeviceInstanceIdA(set.get(), &element, instance, sizeof(instance), nullptr)) {
    std::fprintf(stderr, "SetupDiGetDeviceInstanceIdA: %lu\n", GetLastError());
    return 1;
  }
  std::fprintf(out, "%s\n", instance);
  return 0;
}

// The lists to create come from a file beside the program, as a driver
// setup started with a bare command line brings its own.
int CreateFromFile() {
  char path[MAX_PATH + 16] = {0};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  char created[MAX_PATH + 16];
  std::snprintf(created, sizeof created, "%s.created", path);
  std::strcat(path, ".create");
  FILE* in = std::fopen(path, "rb");
  if (!in) {
    std::fprintf(stderr, "no %s\n", path);
    return 1;
  }
  FILE* out = std::fopen(created, "wb");
  if (!out) {
    std::fclose(in);
    return 1;
  }
  int status = 0;
  char line[1024];
  while (status == 0 && std::fgets(line, sizeof line, in)) {
    line[std::strcspn(line, "\r\n")] = '\0';
    if (line[0] != '\0') status = Create(line, out);
  }
  std::fclose(out);
  std::fclose(in);
  return status;
}

int List() {
  DeviceInfoSet set(SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES), &SetupDiDestroyDeviceInfoList);
  if (!set.IsValid()) {
    std::fprintf(stderr, "SetupDiGetClassDevsA: %lu\n", GetLastError());
    return 1;
  }
  for (DWORD index = 0;; ++index) {
    SP_DEVINFO_DATA element{};
    element.cbSize = sizeof(element);
    if (!SetupDiEnumDeviceInfo(set.get(), index, &element)) break;
    char instance[512] = "";
    SetupDiGetDeviceInstanceIdA(set.get(), &element, instance, sizeof(instance), nullptr);
    BYTE ids[4096 + 2] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set.get(), &element, SPDRP_HARDWAREID, &type, ids, 4096, nullptr))
      ids[0] = '\0';
    std::printf("%s|%s\n", instance, reinterpret_cast<const char*>(ids));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return CreateFromFile();
  if (argc >= 2 && std::strcmp(argv[1], "list") == 0) return List();
  if (argc >= 3 && std::strcmp(argv[1], "create") == 0) {
    for (int i = 2; i < argc; ++i)
      if (Create(argv[i], stdout) != 0) return 1;
    return 0;
  }
  std::fprintf(stderr, "usage: devnode-tool create \"ID1;ID2\"... | list\n");
  return 1;
}
