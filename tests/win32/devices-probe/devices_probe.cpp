// Test program: the launcher's device-node maintenance, core and SetupAPI
// adapter, run on its own. Notes which of the prefixes given on the command
// line belong to present devices, prints the list, then removes the nodes
// of the listed prefixes.
//
//   devices-probe PREFIX...      ("" gives an empty prefix)
// Prints "collect <count>", one "matched <i> <prefix>" line per entry, then
// "remove <result>".
#include <cstdio>
#include <cstdlib>

#include "devices/device_node_maintenance.h"
#include "devices/win32/setupapi_device_nodes.h"

int main(int argc, char** argv) {
  DeviceIdTable table;
  int32_t count = 0;
  for (int i = 1; i < argc && count < kDeviceIdTableSize; ++i) table.entries[count++].DevDrvID.Assign(argv[i]);

  static SetupApiDeviceNodes nodes;
  static DeviceNodeMaintenance maintenance(nodes);
  std::printf("collect %d\n", static_cast<int>(maintenance.CollectMatchedIds(table, count)));
  for (int32_t i = 0; i < maintenance.MatchedIdCount(); ++i)
    std::printf("matched %d %s\n", static_cast<int>(i), maintenance.MatchedId(i));
  std::printf("remove %d\n", static_cast<int>(maintenance.RemoveMatchedDeviceNodes()));
  return 0;
}
