#include "devices/hardware_id_prefix.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_device_nodes.h"

namespace {

struct PrefixCase {
  const char* name;
  std::string ids;  // the list as the service returned it
  const char* prefix;
  bool matches;
};

const PrefixCase kPrefixCases[] = {
    {"configured text begins the first ID", MultiSz({"USB\\VID_1234&PID_5678&REV_0100", "USB\\VID_1234&PID_5678"}),
     "USB\\VID_1234&PID_5678", true},
    {"whole first ID", MultiSz({"USB\\VID_1234&PID_5678"}), "USB\\VID_1234&PID_5678", true},
    {"lower-case prefix", MultiSz({"USB\\VID_1234&PID_5678"}), "usb\\vid_1234", true},
    {"mixed-case ID", MultiSz({"uSb\\vId_12aB&PID_5678"}), "USB\\VID_12Ab", true},
    {"different digit", MultiSz({"USB\\VID_1235&PID_5678"}), "USB\\VID_1234", false},
    {"first ID shorter than the prefix", MultiSz({"USB\\VID_12"}), "USB\\VID_1234", false},
    {"first ID one shorter", MultiSz({"USB\\VID_123"}), "USB\\VID_1234", false},
    {"only a later ID of the list begins with it", MultiSz({"PCI\\VEN_8086", "USB\\VID_1234&PID_5678"}),
     "USB\\VID_1234", false},
    {"prefix runs on across the first terminator", MultiSz({"USB\\VID_12", "34&PID_5678"}), "USB\\VID_1234",
     false},
    {"backslash is not bar", MultiSz({"USB|VID_1234"}), "USB\\VID_1234", false},
    {"bracket is not brace", MultiSz({"ROOT{X}"}), "ROOT[X]", false},
    {"at sign is not grave accent", MultiSz({"A`B"}), "A@B", false},
    {"underscore is not DEL", MultiSz({"A\x7f"}), "A_", false},
    {"ampersand is not its control twin", MultiSz({"A\x06"}), "A&", false},
    {"upper ANSI letters do not fold", MultiSz({"DEV\xe9"}), "DEV\xc9", false},
    {"upper ANSI bytes equal", MultiSz({"DEV\xc9X"}), "DEV\xc9", true},
    {"empty first ID", MultiSz({"", "USB\\VID_1234"}), "USB", false},
    {"empty list", std::string(), "USB", false},
    {"empty prefix names nothing", MultiSz({"USB\\VID_1234"}), "", false},
    {"empty prefix, empty list", std::string(), "", false},
};

TEST(HardwareIdPrefixRule, EveryCaseOfTheTable) {
  for (const PrefixCase& c : kPrefixCases) {
    const uint8_t* ids = reinterpret_cast<const uint8_t*>(c.ids.data());
    EXPECT_EQ(FirstHardwareIdBeginsWith(ids, static_cast<uint32_t>(c.ids.size()), c.prefix), c.matches)
        << c.name;
  }
}

// A list that does not end in its terminators: only the bytes the service
// reported stored are compared, whatever lies behind them.
TEST(HardwareIdPrefixRule, ReadsNothingPastTheBytesReturned) {
  const char stored[] = "USB\\VID_1234&PID_5678";  // with leftovers after byte 12
  const uint8_t* ids = reinterpret_cast<const uint8_t*>(stored);
  EXPECT_TRUE(FirstHardwareIdBeginsWith(ids, 12, "USB\\VID_1234"));
  EXPECT_FALSE(FirstHardwareIdBeginsWith(ids, 12, "USB\\VID_1234&"));
  EXPECT_FALSE(FirstHardwareIdBeginsWith(ids, 11, "USB\\VID_1234"));
  EXPECT_FALSE(FirstHardwareIdBeginsWith(ids, 0, "U"));
  EXPECT_FALSE(FirstHardwareIdBeginsWith(nullptr, 12, "U"));

  // Exactly as many bytes as the prefix, none after: read no further.
  std::string exact("USB\\VID_1234");
  std::vector<uint8_t> heap(exact.begin(), exact.end());  // ASan guards its end
  EXPECT_TRUE(FirstHardwareIdBeginsWith(heap.data(), static_cast<uint32_t>(heap.size()), "USB\\VID_1234"));
  EXPECT_FALSE(FirstHardwareIdBeginsWith(heap.data(), static_cast<uint32_t>(heap.size()), "USB\\VID_1234&"));
}

}  // namespace
