// PLACEHOLDERS, replaced at integration (see pending_steps.h).
#include "app/win32/pending_steps.h"

void PendingHardwareIdCollection::CollectMatchedIds(const DeviceIdTable&, int32_t) {}

int32_t PendingAudioClassSwitch::SwitchAudioClass(const LaunchSettings&, int32_t) { return 0; }

void PendingClosingDialog::RunCompletionDialog(int32_t, int32_t, int32_t) {}
