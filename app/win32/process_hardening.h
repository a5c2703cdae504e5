#pragma once

// Runs first in Setup.exe. The launcher runs elevated, usually from a
// Downloads folder or a removable drive that others can write to: from now
// on the system looks for DLLs it loads on the launcher's behalf in the
// system folder only, never beside Setup.exe or in the current folder, and
// data execution prevention is on where the system lets a process ask.
void HardenProcess();
