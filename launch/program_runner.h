#pragma once
// Starting the package's programs: a program run to its end, an update
// package handed to the shell, and the test that tells the two apart.
#include <cstdint>

#include "base/fixed_text.h"
#include "base/message_box_port.h"
#include "launch/process_ports.h"

// A command the launch sequence has built. The platform gets `line` exactly
// as built; the program to start is looked for only inside `program`, the
// configured text below `folder`, so a blank in the package's own folder
// never makes the platform start something else that lies beside it.
struct ProgramCommand {
  const char* folder = "";  // the package folder, taken as it is
  CommandText program;      // configured program text below the folder
  CommandText line;         // the whole command line
  bool complete = true;     // false when a part did not fit or had no folder
};

// Builds a ProgramCommand piece by piece; any part that does not fit marks
// the command incomplete, and an incomplete command is never started.
class ProgramCommandBuilder {
 public:
  explicit ProgramCommandBuilder(ProgramCommand& command) : command_(command) {}

  // The package folder and the separator after it. An empty folder is no
  // folder: the command cannot be built.
  void StartAtFolder(const char* folder);
  // A piece of the configured program text.
  void AddProgram(const char* text);
  // Text after the program (separator and parameters); not part of it.
  void AddParameters(const char* text);

 private:
  ProgramCommand& command_;
};

constexpr char kCreateProcessFailed[] = "CreateProcess failed.";

// Starts the command and waits for the program to end: 1 then, 0 when it
// was not started (after the "CreateProcess failed." box with `caption`).
// A non-zero `Silent` appends " Silence" to the command line.
int32_t RunAndWait(ProcessPort& processes, MessageBoxPort& boxes, ProgramCommand& command,
                   int32_t Silent, const char* caption);

// The file to start for `command`, the way the platform reads an unquoted
// first token but only inside the configured program text: the text cut at
// each blank, shortest first, then the whole text; ".exe" added where the
// last part has no extension. The first existing candidate is the program;
// when none exists, the first candidate (which then fails to start).
// False when there is no candidate at all.
bool ResolveProgramFile(ProcessPort& processes, const ProgramCommand& command, CommandText& file);

// 1 when the text's last extension is exactly ".msu" (an update package).
int32_t IsUpdatePackage(const char* programText);

// Hands the target to the shell's "open" verb and returns the shell's
// result (above 32: opened). Does not wait.
int32_t OpenWithShell(ShellPort& shell, const char* target);
