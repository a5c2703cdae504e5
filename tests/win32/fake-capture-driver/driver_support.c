/* A DLL the stand-in capture driver imports, shipped beside it as a real
   driver's own DLLs are: the driver loads only when the system finds this
   one in the driver's folder. */
#include <windows.h>

__declspec(dllexport) int FakeDriverSupportVersion(void) { return 1; }
