#pragma once
#include "base/fixed_text.h"

// The folder of the executable, from its full path: everything before the
// last path separator ('\' or '/'), without that separator. C:\pkg\Setup.exe
// gives C:\pkg and C:\Setup.exe gives C:, whatever the file is called. A
// path with no separator names no folder: the result is empty.
PathText FolderOfModulePath(const PathText& modulePath);
