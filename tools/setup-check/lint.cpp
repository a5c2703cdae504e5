#include "tools/setup-check/lint.h"

#include <algorithm>
#include <cstdint>

#include "app/profile_int.h"
#include "tools/setup-check/key_catalogue.h"
#include "tools/setup-check/package_fs.h"

const char* SeverityName(Severity s) {
  switch (s) {
    case Severity::Note:
      return "note";
    case Severity::Warning:
      return "warning";
    case Severity::Error:
      return "error";
  }
  return "warning";
}

namespace {

constexpr size_t kSettingBuffer = 256;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void Add(std::vector<Finding>& out, Severity s, const char* code, int line, const std::string& key,
         const std::string& message) {
  Finding f;
  f.severity = s;
  f.code = code;
  f.line = line;
  f.key = key;
  f.message = message;
  out.push_back(f);
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// Is the text wholly a decimal integer (optional sign) that fits 32 bits?
bool IsCleanInteger(const std::string& text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
    if (v > 2147483648LL) return false;
  }
  return !(text[0] != '-' && v > 2147483647LL);
}

bool HasBlank(const std::string& s) { return s.find_first_of(" \t") != std::string::npos; }

// The key name as the catalogue spells it.
std::string CanonicalName(const KeyDef& keyDef, int index) {
  return index < 0 ? std::string(keyDef.base) : std::string(keyDef.base) + std::to_string(index);
}

// The integer a key reads as, given what the file holds (the loader's own
// conversion).
int32_t IntegerValue(const ProfileFile& file, const char* key) {
  std::string text = file.GetString("Const", key, "0", kSettingBuffer);
  return ParseProfileInt(text.c_str());
}

void LintUnknownKey(std::vector<Finding>& out, const ProfileKey& k) {
  // A numbered key beyond its table is named as such rather than guessed at.
  for (const KeyDef& keyDef : KeyCatalogue()) {
    if (keyDef.tableSize == 0) continue;
    size_t n = std::string(keyDef.base).size();
    if (k.name.size() <= n || !ProfileFile::NamesEqual(k.name.substr(0, n), keyDef.base)) continue;
    std::string digits = k.name.substr(n);
    if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
    if (digits.size() > 1 && digits[0] == '0') break;  // leading zeros: a misspelling, below
    Add(out, Severity::Warning, "beyond-table", k.line, k.name,
        "key " + Quoted(k.name) + " is never read: the table holds " + keyDef.base + "0 to " + keyDef.base +
            std::to_string(keyDef.tableSize - 1));
    return;
  }
  std::string best;
  int bestDistance = 1 << 30;
  for (const std::string& name : AllKeyNames()) {
    int d = KeyDistance(k.name, name);
    if (d < bestDistance) {
      bestDistance = d;
      best = name;
    }
  }
  int limit = std::max<int>(1, std::min<int>(3, static_cast<int>(best.size()) / 3));
  if (bestDistance <= limit) {
    Add(out, Severity::Warning, "misspelled-key", k.line, k.name,
        "unknown key " + Quoted(k.name) + ", did you mean " + Quoted(best) + "?");
  } else {
    Add(out, Severity::Warning, "unknown-key", k.line, k.name, "unknown key " + Quoted(k.name) + " is ignored");
  }
}

// SetupXPx64Path -> SetupXPx64Exe; a program key stays itself.
std::string SetupProgramKeyOf(const std::string& key) {
  const std::string path = "Path";
  if (key.size() > path.size() && key.compare(key.size() - path.size(), path.size(), path) == 0)
    return key.substr(0, key.size() - path.size()) + "Exe";
  return key;
}

}  // namespace

int KeyDistance(const std::string& a, const std::string& b) {
  std::vector<int> prev(b.size() + 1), cur(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) prev[j] = static_cast<int>(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    cur[0] = static_cast<int>(i);
    for (size_t j = 1; j <= b.size(); ++j) {
      int cost = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
      cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + cost});
    }
    std::swap(prev, cur);
  }
  return prev[b.size()];
}

void SortFindings(std::vector<Finding>& findings) {
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    if (a.line != b.line) return a.line < b.line;
    if (a.severity != b.severity) return a.severity > b.severity;
    return a.code < b.code;
  });
}

std::vector<Finding> LintSettingsFile(const ProfileFile& file) {
  std::vector<Finding> out;
  if (!file.present()) {
    Add(out, Severity::Note, "no-settings-file", 0, "", "no Setting.ini: every key takes its default");
    return out;
  }
  if (file.encoding() != ProfileEncoding::Ansi)
    Add(out, Severity::Note, file.encoding() == ProfileEncoding::Utf8 ? "utf8-mark" : "utf16-file", 1, "",
        std::string("the file is ") + (file.encoding() == ProfileEncoding::Utf8 ? "UTF-8" : "UTF-16") +
            " (it starts with a byte-order mark): its texts are converted to the ANSI code page, and characters "
            "that the code page lacks become '?'");

  const ProfileSection* consts = file.FindSection("Const");
  if (!consts) Add(out, Severity::Warning, "no-const-section", 0, "", "no [Const] section: every key takes its default");

  for (const ProfileSection& s : file.sections()) {
    bool isConst = ProfileFile::NamesEqual(s.name, "Const") && s.line != 0;
    if (&s != consts && isConst)
      Add(out, Severity::Warning, "second-section", s.line, "",
          "a second [Const] section: only the first is read, the keys of this one are ignored");
    if (isConst) continue;
    // Known keys in the wrong place.
    for (const ProfileKey& k : s.keys) {
      if (FindKeyDef(k.name, nullptr))
        Add(out, Severity::Warning, "outside-section", k.line, k.name,
            "key " + Quoted(k.name) + " is ignored: it is not in the [Const] section" +
                (s.line == 0 ? " (it comes before any section)" : " (it is in [" + s.name + "])"));
    }
  }
  if (!consts) {
    SortFindings(out);
    return out;
  }

  const int32_t deviceIdNum = IntegerValue(file, "DeviceIDNum");
  const int32_t anotherApNum = IntegerValue(file, "AnotherAPNum");

  for (size_t i = 0; i < consts->keys.size(); ++i) {
    const ProfileKey& k = consts->keys[i];
    if (k.name.empty() || k.name[0] == ';') continue;
    int index = -1;
    const KeyDef* keyDef = FindKeyDef(k.name, &index);
    if (!keyDef) {
      LintUnknownKey(out, k);
      continue;
    }
    const std::string name = CanonicalName(*keyDef, index);
    const ProfileKey* first = nullptr;
    for (size_t j = 0; j < i && !first; ++j)
      if (ProfileFile::NamesEqual(consts->keys[j].name, k.name)) first = &consts->keys[j];
    if (first) {
      Add(out, Severity::Warning, "duplicate-key", k.line, name,
          "key " + name + " is set again and ignored: line " + std::to_string(first->line) + " sets it first");
      continue;
    }
    if (!k.hasValue) {
      Add(out, Severity::Warning, "no-equals", k.line, name,
          "line names " + name + " without '=': the key reads as its default");
      continue;
    }

    // Numbered keys beyond their count are never read.
    if (keyDef->tableSize > 0) {
      int32_t count = keyDef->countKey == std::string("DeviceIDNum") ? deviceIdNum : anotherApNum;
      if (index >= count) {
        Add(out, Severity::Warning, "not-read", k.line, name,
            "key " + name + " is never read: " + keyDef->countKey + " is " + std::to_string(count));
        continue;
      }
    }

    const std::string unquoted = ProfileFile::Unquoted(k.value);
    const std::string read = ProfileFile::CopyEntry(k.value, kSettingBuffer);
    if (unquoted.size() > kSettingBuffer - 1)
      Add(out, Severity::Warning, "long-value", k.line, name,
          "value of " + name + " has " + std::to_string(unquoted.size()) +
              " characters: only the first 255 are read, ending in " +
              Quoted(read.substr(read.size() > 20 ? read.size() - 20 : 0)));

    if (keyDef->kind == KeyKind::Integer) {
      std::string text = read;
      if (!text.empty() && !IsCleanInteger(text))
        Add(out, Severity::Warning, "not-a-number", k.line, name,
            name + "=" + text + " is not a whole number: it reads as " +
                std::to_string(ParseProfileInt(text.c_str())));
    }

    if (read.find(';') != std::string::npos && keyDef->kind == KeyKind::Text)
      Add(out, Severity::Warning, "inline-comment", k.line, name,
          "value of " + name + " holds ';': there are no comments after a value, the ';' and what follows are "
          "part of it");

    switch (keyDef->role) {
      case KeyRole::SetupFolder:
      case KeyRole::SetupProgram:
        if (HasBlank(read))
          Add(out, Severity::Warning, "blank-in-program", k.line, name,
              name + "=" + read +
                  " holds a blank: the command is not quoted, so Windows may start another file or pass the rest "
                  "as arguments");
        break;
      case KeyRole::FurtherProgram: {
        if (HasBlank(read))
          Add(out, Severity::Warning, "blank-in-program", k.line, name,
              name + "=" + read +
                  " holds a blank: the command is not quoted, so Windows may start another file; arguments belong "
                  "in LaunchAnotherAPParam (an update package is opened under its whole name)");
        size_t dot = read.rfind('.');
        if (dot != std::string::npos) {
          std::string ext = read.substr(dot);
          if (ext != ".msu" && ProfileFile::NamesEqual(ext, ".msu"))
            Add(out, Severity::Error, "msu-case", k.line, name,
                name + "=" + read + ": only the exact extension \".msu\" makes an update package; \"" + ext +
                    "\" is started as a program and fails (\"CreateProcess failed.\")");
        }
        break;
      }
      default:
        break;
    }
  }

  // Counts and the entries they cover.
  const ProfileKey* devNum = file.FindKey("Const", "DeviceIDNum");
  const ProfileKey* apNum = file.FindKey("Const", "AnotherAPNum");
  if (deviceIdNum > 10 || deviceIdNum < 0)
    Add(out, Severity::Warning, "count-range", devNum ? devNum->line : 0, "DeviceIDNum",
        "DeviceIDNum is " + std::to_string(deviceIdNum) +
            (deviceIdNum < 0 ? ": below zero, no prefix is read" : ": the table holds 10 prefixes, the rest are not used"));
  if (anotherApNum > 5 || anotherApNum < 0)
    Add(out, Severity::Warning, "count-range", apNum ? apNum->line : 0, "AnotherAPNum",
        "AnotherAPNum is " + std::to_string(anotherApNum) +
            (anotherApNum < 0 ? ": below zero, no further program runs"
                              : ": the table holds 5 entries per system, the rest are not used"));
  for (int32_t i = 0; i < std::min<int32_t>(deviceIdNum, 10); ++i) {
    std::string key = "DevDrvID" + std::to_string(i);
    if (file.GetString("Const", key.c_str(), "", kSettingBuffer).empty()) {
      const ProfileKey* k = file.FindKey("Const", key.c_str());
      Add(out, Severity::Warning, "empty-prefix", k ? k->line : (devNum ? devNum->line : 0), key,
          key + (k ? " is empty" : " is missing") + ": an empty hardware-ID prefix matches no device");
    }
  }

  if (IntegerValue(file, "EnableTimer") != 0) {
    int32_t wait = IntegerValue(file, "WaitTimer");
    if (wait <= 0) {
      const ProfileKey* k = file.FindKey("Const", "WaitTimer");
      const ProfileKey* t = file.FindKey("Const", "EnableTimer");
      Add(out, Severity::Warning, "timer-interval", k ? k->line : (t ? t->line : 0), "WaitTimer",
          "EnableTimer is on but WaitTimer is " + std::to_string(wait) +
              ": the confirmation interval is left to the system's timer limits");
    }
  }
  SortFindings(out);
  return out;
}

std::vector<Finding> LintPackageUses(const std::string& packageHostFolder, const std::vector<PackageUse>& uses) {
  std::vector<Finding> out;
  for (const PackageUse& u : uses) {
    FsEntry kind = ResolveInPackage(packageHostFolder, u.path);
    bool wantFolder = u.kind == UseKind::SetupFolder;
    bool ok = wantFolder ? kind == FsEntry::Folder : kind == FsEntry::File;
    if (ok) continue;
    // A missing setup folder is reported once, not again for its program.
    if (u.kind == UseKind::SetupProgram) {
      size_t cut = u.path.find_last_of("\\/");
      if (cut != std::string::npos && ResolveInPackage(packageHostFolder, u.path.substr(0, cut)) != FsEntry::Folder)
        continue;
    }
    // One finding per key and path.
    Finding* same = nullptr;
    for (Finding& f : out)
      if (f.key == u.key && f.message.find(Quoted(u.path)) != std::string::npos) same = &f;
    if (same) {
      same->variants.push_back(u.variant);
      continue;
    }
    const char* what = u.kind == UseKind::SetupFolder    ? "folder"
                       : u.kind == UseKind::UpdatePackage ? "update package"
                                                          : "program";
    std::string message = std::string(what) + " " + Quoted(u.path) + " (" + u.key + ") is not in the package";
    if (kind != FsEntry::Missing) message += wantFolder ? " as a folder" : " as a file";
    message += u.kind == UseKind::UpdatePackage ? ": the shell cannot open it (no message is shown)"
                                                : ": the launcher shows \"CreateProcess failed.\"";
    // A variant the package does not support says so with an empty text.
    if (u.kind == UseKind::SetupFolder || u.kind == UseKind::SetupProgram)
      message += " (an empty " + SetupProgramKeyOf(u.key) + "= shows the NoSetupPath box instead)";
    Add(out, Severity::Error, u.kind == UseKind::SetupFolder ? "missing-folder" : "missing-program", u.line, u.key,
        message);
    out.back().variants.push_back(u.variant);
  }
  SortFindings(out);
  return out;
}
