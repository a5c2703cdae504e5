#pragma once
// Setup.exe's exit status, for deployment tools that install drivers
// unattended. 0 when the run did everything the package configures;
// otherwise the sum of the flags below for what went wrong. The run itself
// is the same whatever the status: it only reports.
#include <cstdint>

constexpr int32_t kExitOk = 0;
// The running variant has no driver setup (the NoSetupPath box was shown).
constexpr int32_t kExitNoDriverSetup = 1;
// A program, the driver setup or a further one, could not be started.
constexpr int32_t kExitProgramNotStarted = 2;
// CheckFinishInstall asked for the finished-install mark and it was not 1:
// the further programs did not run.
constexpr int32_t kExitFinishInstallMissing = 4;
// The shell could not open an update package.
constexpr int32_t kExitUpdateNotOpened = 8;
