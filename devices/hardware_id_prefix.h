#pragma once
// The rule by which a configured prefix names a device: the device's first
// hardware ID begins with it. Shared by the collection at start-up and the
// later removal, so both agree on which nodes belong to the device family.
#include <cstdint>

// ids: a hardware-ID list as the device service returned it, bytes long
// (a multi-string, though possibly not terminated within bytes). Only its
// first ID counts: nothing past its first terminator, and nothing past
// bytes, is read. Letters compare without regard to case; every other byte
// must be equal. An empty prefix names no device: it would otherwise match
// every node of the system.
bool FirstHardwareIdBeginsWith(const uint8_t* ids, uint32_t bytes, const char* prefix);
