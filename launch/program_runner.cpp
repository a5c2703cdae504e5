#include "launch/program_runner.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// One candidate: the folder, then the first `length` characters of the
// program text, then ".exe" when its last part names no extension.
bool BuildCandidate(const ProgramCommand& command, size_t length, CommandText& file) {
  file.Clear();
  CommandText piece;
  piece.AssignBytes(command.program.c_str(), length);
  if (!file.Append(command.folder) || !file.Append('\\') || !file.Append(piece.c_str()))
    return false;
  bool hasExtension = false;
  for (size_t i = piece.size(); i > 0 && !IsSeparator(piece[i - 1]); --i)
    if (piece[i - 1] == '.') hasExtension = true;
  return hasExtension || file.Append(".exe");
}

}  // namespace

void ProgramCommandBuilder::StartAtFolder(const char* folder) {
  command_.folder = folder ? folder : "";
  command_.program.Clear();
  command_.line.Clear();
  command_.complete = command_.folder[0] != '\0';
  if (!command_.line.Append(command_.folder) || !command_.line.Append('\\'))
    command_.complete = false;
}

void ProgramCommandBuilder::AddProgram(const char* text) {
  if (!command_.program.Append(text) || !command_.line.Append(text)) command_.complete = false;
}

void ProgramCommandBuilder::AddParameters(const char* text) {
  if (!command_.line.Append(text)) command_.complete = false;
}

bool ResolveProgramFile(ProcessPort& processes, const ProgramCommand& command, CommandText& file) {
  const CommandText& program = command.program;
  CommandText first;
  bool haveFirst = false;
  // Every cut at the first blank of a run of blanks, then the whole text.
  for (size_t length = 1; length <= program.size(); ++length) {
    bool whole = length == program.size();
    bool cut = !whole && IsBlank(program[length]) && !IsBlank(program[length - 1]);
    if (!whole && !cut) continue;
    if (!BuildCandidate(command, length, file)) continue;
    if (processes.FileExists(file.c_str())) return true;
    if (!haveFirst) {
      first.Assign(file.c_str());
      haveFirst = true;
    }
  }
  file.Assign(first.c_str());
  return haveFirst;
}

int32_t RunAndWait(ProcessPort& processes, MessageBoxPort& boxes, ProgramCommand& command,
                   int32_t Silent, const char* caption) {
  bool ready = command.complete;
  // The package's programs take the word as their own silent switch.
  if (ready && Silent != 0) ready = command.line.Append(" Silence");
  CommandText file;
  if (ready) ready = ResolveProgramFile(processes, command, file);
  if (ready && processes.StartAndWait(file.c_str(), command.line.c_str())) return 1;
  boxes.ShowMessage(kCreateProcessFailed, caption, BoxIcon::None);
  return 0;
}

int32_t IsUpdatePackage(const char* programText) {
  if (!programText) return 0;
  const char* lastDot = nullptr;
  for (const char* p = programText; *p != '\0'; ++p)
    if (*p == '.') lastDot = p;
  if (!lastDot) return 0;
  const char* msu = ".msu";
  const char* p = lastDot;
  for (; *p != '\0' && *msu != '\0'; ++p, ++msu)
    if (*p != *msu) return 0;
  return (*p == '\0' && *msu == '\0') ? 1 : 0;
}

int32_t OpenWithShell(ShellPort& shell, const char* target) { return shell.OpenWithShellVerb(target); }
