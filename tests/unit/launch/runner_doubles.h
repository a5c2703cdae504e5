#pragma once
// Recording doubles of the program-starting and message-box ports. Every
// call goes into one shared log, in order, with its values, so a test can
// state the exact sequence it expects.
#include <set>
#include <string>
#include <vector>

#include "base/message_box_port.h"
#include "launch/process_ports.h"

struct CallLog {
  std::vector<std::string> calls;

  void Add(const std::string& call) { calls.push_back(call); }

  // The calls that begin with prefix, prefix removed.
  std::vector<std::string> With(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& c : calls)
      if (c.compare(0, prefix.size(), prefix) == 0) found.push_back(c.substr(prefix.size()));
    return found;
  }
};

// "exists <path>" for every FileExists, "start <application>|<command line>"
// for every StartAndWait. Files exist when listed; a start fails when its
// call number (0-based) is listed or its application is not an existing file.
class RecordingProcesses : public ProcessPort {
 public:
  explicit RecordingProcesses(CallLog& log) : log_(log) {}

  std::set<std::string> existing;
  std::set<int> failingStarts;
  bool startsNeedExistingFile = true;

  bool StartAndWait(const char* applicationName, const char* commandLine) override {
    int call = starts_++;
    std::string app = applicationName ? applicationName : "(null)";
    log_.Add("start " + app + "|" + (commandLine ? commandLine : "(null)"));
    if (failingStarts.count(call)) return false;
    if (startsNeedExistingFile && !existing.count(app)) return false;
    return true;
  }

  bool FileExists(const char* path) override {
    log_.Add(std::string("exists ") + path);
    return existing.count(path) != 0;
  }

 private:
  CallLog& log_;
  int starts_ = 0;
};

// "shell <target>"; answers with the listed results in turn, then `result`.
class RecordingShell : public ShellPort {
 public:
  explicit RecordingShell(CallLog& log) : log_(log) {}

  std::vector<int32_t> results;
  int32_t result = 42;

  int32_t OpenWithShellVerb(const char* target) override {
    log_.Add(std::string("shell ") + target);
    if (next_ < results.size()) return results[next_++];
    return result;
  }

 private:
  CallLog& log_;
  size_t next_ = 0;
};

// "box <caption>|<text>" (with "|warning" for the warning icon).
class RecordingBoxes : public MessageBoxPort {
 public:
  explicit RecordingBoxes(CallLog& log) : log_(log) {}

  void ShowMessage(const char* text, const char* caption, BoxIcon icon) override {
    log_.Add(std::string("box ") + caption + "|" + text + (icon == BoxIcon::Warning ? "|warning" : ""));
  }

 private:
  CallLog& log_;
};
