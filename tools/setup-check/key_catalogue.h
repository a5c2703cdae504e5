#pragma once
// The keys of Setting.ini as a package author writes them: kind, default,
// and for the numbered ones the table they fill. The launcher's loader is
// the authority on what is read; tests hold this list against the keys it
// actually asks for.
#include <string>
#include <vector>

enum class KeyKind { Integer, Text };
enum class KeyRole { Plain, SetupFolder, SetupProgram, FurtherProgram, HardwareIdPrefix };

struct KeyDef {
  const char* base;         // the name, or the base of a numbered key
  KeyKind kind;
  const char* defaultText;  // the loader's default text
  int tableSize;            // numbered keys: entries 0 .. tableSize-1; 0 otherwise
  const char* countKey;     // numbered keys: the count that limits what is read
  KeyRole role;
};

const std::vector<KeyDef>& KeyCatalogue();

// Every full key name: the plain ones, and the numbered ones with every
// index of their table.
std::vector<std::string> AllKeyNames();

// The catalogue entry of a full key name (letter case ignored), with its
// index for a numbered key (-1 otherwise); null when the name is unknown.
// A numbered base with an index beyond the table, or written with leading
// zeros, is unknown.
const KeyDef* FindKeyDef(const std::string& name, int* index);

// Vista_x64 ... XP_x86 as the tool names them: "vista-x64" ...
struct VariantKeys {
  const char* name;        // vista-x64, vista-x86, xp-x64, xp-x86
  const char* setupFolder;   // SetupVistax64Path ...
  const char* setupProgram;  // SetupVistax64Exe ...
  const char* furtherBase;   // AnotherAPVistax64Exe ...
};
const VariantKeys* Variants();  // four entries
constexpr int kVariantCount = 4;
