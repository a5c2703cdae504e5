// setup-check PACKAGE_DIR: what Setup.exe will do with a driver package on
// each kind of Windows, and what looks wrong in it.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/setup-check/cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string out, err;
  int status = RunSetupCheck(args, &out, &err);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fwrite(err.data(), 1, err.size(), stderr);
  return status;
}
