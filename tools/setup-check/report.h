#pragma once
// setup-check's output: readable text, or one JSON document.
#include <string>

#include "tools/setup-check/dry_run.h"

std::string TextReport(const CheckResult& result);
std::string JsonReport(const CheckResult& result);
// One line per thing a user or the system would see, per run:
//   run VARIANT / start CMD / cannot-start CMD / open TARGET /
//   cannot-open TARGET / box CAPTION|TEXT / write REGISTER 0xVALUE /
//   remove HARDWARE_ID / dialog confirms|closes / exit STATUS (Setup.exe's)
std::string TraceReport(const CheckResult& result);

// Why the run is silent or not, from what it read.
std::string SilentReason(const CheckResult& result, const VariantRun& run);
// Why the audio-class switch was called or not.
bool AudioSwitchCalled(const VariantRun& run);
std::string AudioSwitchReason(const VariantRun& run);
// The closing dialog's decision.
bool ConfirmsUpdateInstaller(const VariantRun& run);
