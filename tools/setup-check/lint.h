#pragma once
// What looks wrong in a package: findings on Setting.ini itself, and on the
// programs and folders that the launcher would start or open.
#include <string>
#include <vector>

#include "tools/setup-check/profile_file.h"

enum class Severity { Note, Warning, Error };
const char* SeverityName(Severity s);  // "note", "warning", "error"

struct Finding {
  Severity severity = Severity::Warning;
  std::string code;  // stable identifier, e.g. "unknown-key"
  int line = 0;      // line in Setting.ini; 0: the file or package as a whole
  std::string key;   // the key the finding is about, when there is one
  std::string message;
  std::vector<std::string> variants;  // the variants it concerns; empty: all
};

// Findings on the file alone, in line order.
std::vector<Finding> LintSettingsFile(const ProfileFile& file);

// A program, folder or update package that a variant's run uses.
enum class UseKind { SetupFolder, SetupProgram, FurtherProgram, UpdatePackage };
struct PackageUse {
  std::string variant;
  UseKind kind = UseKind::SetupProgram;
  std::string key;   // the key whose text names it
  int line = 0;      // that key's line, 0 for a default
  std::string path;  // below the package folder, as the launcher builds it
};

// Findings on uses whose file or folder the package does not contain; one
// finding per key and path, listing the variants concerned.
std::vector<Finding> LintPackageUses(const std::string& packageHostFolder, const std::vector<PackageUse>& uses);

// Case-insensitive edit distance, for the suggestion of a misspelled key.
int KeyDistance(const std::string& a, const std::string& b);

// Sorted by line, then severity (errors first), then code.
void SortFindings(std::vector<Finding>& findings);
