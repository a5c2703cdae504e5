#pragma once
// A package folder in a fresh temporary folder, removed afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

class PackageFolder {
 public:
  PackageFolder() {
    char tmpl[] = "/tmp/setup-check-test-XXXXXX";
    const char* made = mkdtemp(tmpl);
    EXPECT_NE(made, nullptr);
    root_ = made ? made : "/tmp";
  }
  ~PackageFolder() {
    if (root_ != "/tmp") std::system(("rm -rf '" + root_ + "'").c_str());
  }
  PackageFolder(const PackageFolder&) = delete;
  PackageFolder& operator=(const PackageFolder&) = delete;

  const std::string& path() const { return root_; }

  // A file below the package ('/' between names), its folders made.
  void File(const std::string& relative, const std::string& content) {
    std::string full = root_ + "/" + relative;
    std::string dir = full.substr(0, full.rfind('/'));
    EXPECT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
    std::ofstream(full, std::ios::binary) << content;
  }
  // A program: a file that starts like a Windows executable.
  void Program(const std::string& relative) { File(relative, "MZ program"); }

 private:
  std::string root_;
};
