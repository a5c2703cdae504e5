// A stand-in capture driver for the Wine tests: an in-proc COM server whose
// object is a DirectShow filter offering IDriverCustomProperty, behind which
// an I2C device at bus address 0xA0 keeps its registers in a text file.
//
// The file is "i2c-state.txt" beside this DLL, key=value lines that the test
// writes and reads back:
//   reg<N>=<value>     register N (decimal) and its byte
//   ready=<n>          what PropBusDeviceReady reports (0: powered down)
//   detect=<hresult>   the result of PropBusDeviceDetect
//   readfail=<reg>     reads of that register fail with E_FAIL (-1: none)
//   writefail=<reg>    writes of that register fail with E_FAIL (-1: none)
//   nointerface=1      the filter does not give IDriverCustomProperty
// Every property call is appended to "i2c-calls.log" beside it:
//   "set 4103 0x01A00801 -> 0x00000000",
// and the time (milliseconds of the performance counter) at which it came to
// "i2c-ticks.log",
// one line per call in the same order, so a test sees the pauses between
// the calls as the device does.
// Each filter object writes "create" when it is made and "destroy" when its
// last reference is released to "objects.log", so a test sees whether every
// reference the launcher took was given back.
#include <windows.h>
#include <objbase.h>
#include <strmif.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "devmem/win32/driver_custom_property.h"

namespace {

// {6E1F1B3A-2C4D-4F5E-9A8B-7C6D5E4F3A21}
const CLSID kFakeFilterClsid = {
    0x6E1F1B3A, 0x2C4D, 0x4F5E, {0x9A, 0x8B, 0x7C, 0x6D, 0x5E, 0x4F, 0x3A, 0x21}};

const HRESULT kFail = static_cast<HRESULT>(0x80004005L);

HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

struct DeviceState {
  int present[256];
  int regs[256];
  long ready = 1;
  long detect = 0;
  long readfail = -1;
  long writefail = -1;
  long nointerface = 0;
};

void SiblingPath(const char* name, char* out, size_t size) {
  char path[MAX_PATH] = {0};
  GetModuleFileNameA(g_module, path, MAX_PATH - 1);
  char* slash = std::strrchr(path, '\\');
  if (slash) slash[1] = '\0';
  std::snprintf(out, size, "%s%s", path, name);
}

void LoadState(DeviceState& s) {
  std::memset(s.present, 0, sizeof s.present);
  std::memset(s.regs, 0, sizeof s.regs);
  char path[MAX_PATH + 32];
  SiblingPath("i2c-state.txt", path, sizeof path);
  FILE* f = std::fopen(path, "r");
  if (!f) return;
  char line[128];
  while (std::fgets(line, sizeof line, f)) {
    char* eq = std::strchr(line, '=');
    if (!eq) continue;
    *eq = '\0';
    long value = static_cast<long>(std::strtoul(eq + 1, nullptr, 0));
    if (std::strncmp(line, "reg", 3) == 0) {
      int reg = std::atoi(line + 3);
      if (reg >= 0 && reg < 256) {
        s.present[reg] = 1;
        s.regs[reg] = static_cast<int>(value & 0xFF);
      }
    } else if (!std::strcmp(line, "ready")) {
      s.ready = value;
    } else if (!std::strcmp(line, "detect")) {
      s.detect = value;
    } else if (!std::strcmp(line, "readfail")) {
      s.readfail = value;
    } else if (!std::strcmp(line, "writefail")) {
      s.writefail = value;
    } else if (!std::strcmp(line, "nointerface")) {
      s.nointerface = value;
    }
  }
  std::fclose(f);
}

void SaveState(const DeviceState& s) {
  char path[MAX_PATH + 32];
  SiblingPath("i2c-state.txt", path, sizeof path);
  FILE* f = std::fopen(path, "wb");
  if (!f) return;
  std::fprintf(f, "ready=%ld\ndetect=0x%08lX\nreadfail=%ld\nwritefail=%ld\nnointerface=%ld\n",
               s.ready, static_cast<unsigned long>(s.detect), s.readfail, s.writefail,
               s.nointerface);
  for (int r = 0; r < 256; ++r)
    if (s.present[r]) std::fprintf(f, "reg%d=0x%02X\n", r, s.regs[r]);
  std::fclose(f);
}

void LogCall(const char* verb, ULONG id, const LONG* value, HRESULT hr) {
  LARGE_INTEGER now{}, frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  unsigned long long tick =
      frequency.QuadPart > 0 ? static_cast<unsigned long long>(now.QuadPart) * 1000ULL /
                                   static_cast<unsigned long long>(frequency.QuadPart)
                             : 0ULL;
  char path[MAX_PATH + 32];
  SiblingPath("i2c-ticks.log", path, sizeof path);
  if (FILE* ticks = std::fopen(path, "ab")) {
    std::fprintf(ticks, "%llu\n", tick);
    std::fclose(ticks);
  }
  SiblingPath("i2c-calls.log", path, sizeof path);
  FILE* f = std::fopen(path, "ab");
  if (!f) return;
  if (value)
    std::fprintf(f, "%s %lu 0x%08lX -> 0x%08lX\n", verb, static_cast<unsigned long>(id),
                 static_cast<unsigned long>(*value), static_cast<unsigned long>(hr));
  else
    std::fprintf(f, "%s %lu -> 0x%08lX\n", verb, static_cast<unsigned long>(id),
                 static_cast<unsigned long>(hr));
  std::fclose(f);
}

void LogObject(const char* what) {
  char path[MAX_PATH + 32];
  SiblingPath("objects.log", path, sizeof path);
  FILE* f = std::fopen(path, "ab");
  if (!f) return;
  std::fprintf(f, "%s\n", what);
  std::fclose(f);
}

class FakeFilter : public IBaseFilter, public IDriverCustomProperty {
 public:
  FakeFilter() {
    InterlockedIncrement(&g_objects);
    LogObject("create");
  }
  virtual ~FakeFilter() {
    LogObject("destroy");
    InterlockedDecrement(&g_objects);
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IPersist)) ||
        IsEqualIID(riid, __uuidof(IMediaFilter)) || IsEqualIID(riid, __uuidof(IBaseFilter))) {
      *out = static_cast<IBaseFilter*>(this);
    } else if (IsEqualIID(riid, __uuidof(IDriverCustomProperty))) {
      DeviceState s;
      LoadState(s);
      if (s.nointerface) return E_NOINTERFACE;
      *out = static_cast<IDriverCustomProperty*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }

  // IPersist, IMediaFilter, IBaseFilter: never used by the launcher.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override {
    *id = kFakeFilterClsid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Stop() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Pause() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* state) override {
    *state = State_Stopped;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override {
    *clock = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override {
    *pins = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin** pin) override {
    *pin = nullptr;
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override {
    std::memset(info, 0, sizeof *info);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override {
    *info = nullptr;
    return E_NOTIMPL;
  }

  // IDriverCustomProperty
  HRESULT STDMETHODCALLTYPE Unused() override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE SetProperty(ULONG id, LONG* value) override {
    LONG logged = value ? *value : 0;
    HRESULT hr = value ? Set(id, *value) : E_POINTER;
    LogCall("set", id, &logged, hr);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetProperty(ULONG id, LONG* value) override {
    HRESULT hr = value ? Get(id, value) : E_POINTER;
    LogCall("get", id, nullptr, hr);
    return hr;
  }

 private:
  bool TransferToDevice() const {
    return transfer_ != 0 && ((transfer_ >> 16) & 0xFF) == 0xA0 && (transfer_ & 0xFF) == 1 &&
           ((transfer_ >> 24) & 0xFF) == 1;
  }
  int TransferRegister() const { return static_cast<int>((transfer_ >> 8) & 0xFF); }

  HRESULT Set(ULONG id, LONG value) {
    switch (id) {
      case 4107:
        address_ = static_cast<ULONG>(value);
        return S_OK;
      case 4103:
        transfer_ = static_cast<ULONG>(value);
        return S_OK;
      case 4104: {
        if (!TransferToDevice()) return kFail;
        DeviceState s;
        LoadState(s);
        int reg = TransferRegister();
        if (s.writefail == reg) return kFail;
        s.present[reg] = 1;
        s.regs[reg] = static_cast<int>(value & 0xFF);
        SaveState(s);
        return S_OK;
      }
      default:
        return kFail;
    }
  }

  HRESULT Get(ULONG id, LONG* cell) {
    DeviceState s;
    LoadState(s);
    switch (id) {
      case 4116:
        *cell = address_ == 0xA0 ? s.ready : 0;
        return S_OK;
      case 4115:
        *cell = 1;
        return address_ == 0xA0 ? static_cast<HRESULT>(s.detect) : kFail;
      case 4104: {
        if (!TransferToDevice()) return kFail;
        int reg = TransferRegister();
        if (s.readfail == reg) return kFail;
        *cell = s.regs[reg];
        return S_OK;
      }
      default:
        return kFail;
    }
  }

  LONG refs_ = 1;
  ULONG address_ = 0;
  ULONG transfer_ = 0;
};

class FilterFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IClassFactory))) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is static: its count only keeps the module loaded.
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&g_locks) + 1; }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&g_locks) + 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    FakeFilter* filter = new FakeFilter();
    HRESULT hr = filter->QueryInterface(riid, out);
    filter->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&g_locks);
    else
      InterlockedDecrement(&g_locks);
    return S_OK;
  }
};

FilterFactory g_factory;

}  // namespace

// From FakeDriverSupport.dll beside this DLL (a load-time import).
extern "C" __declspec(dllimport) int FakeDriverSupportVersion(void);

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid,
                                                                           REFIID riid,
                                                                           void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, kFakeFilterClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  if (FakeDriverSupportVersion() != 1) return E_FAIL;
  return g_factory.QueryInterface(riid, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
