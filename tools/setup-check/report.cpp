#include "tools/setup-check/report.h"

#include <cstdio>

#include "app/exit_status.h"
#include "tools/setup-check/key_catalogue.h"

namespace {

const ProfileRead* FindRead(const VariantRun& run, const char* key) {
  for (const ProfileRead& r : run.reads)
    if (r.key == key) return &r;
  return nullptr;
}

const Step* FindStep(const VariantRun& run, Step::Kind kind) {
  for (const Step& s : run.steps)
    if (s.kind == kind) return &s;
  return nullptr;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string Origin(const ProfileRead& r) {
  if (r.fromFile) return "line " + std::to_string(r.line);
  if (r.line > 0) return "default (line " + std::to_string(r.line) + " has no '=')";
  return "default";
}

std::string FinishInstallText(const VariantRun& run) {
  const Step* s = FindStep(run, Step::FinishInstall);
  if (!run.CheckFinishInstall) return "not checked (CheckFinishInstall is 0): further programs may run";
  std::string where = s ? s->registryKey + "\\FinishInstall" : "FinishInstall";
  std::string held = !s ? "not read" : s->valueRead ? "= " + std::to_string(s->value) : "missing";
  return "checked: " + where + " " + held + (run.FinishInstallOk ? ": further programs may run"
                                                                  : ": no MustRePlugin box, no further programs");
}

std::string ClosingText(const Step& s) {
  if (!s.armed && !s.MsuOpened) return "closes at once (no update package was opened)";
  if (!s.armed) return "closes at once (an update package was opened, but EnableTimer is 0)";
  return "hides itself and confirms the update installer's dialogs every " + std::to_string(s.WaitTimer) + " ms" +
         (s.WaitTimer <= 0 ? " (the system's timer limits decide the interval)" : "");
}

std::string Hex(int32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(v) & 0xFFu);
  return text;
}

std::string Join(const std::vector<std::string>& v, const char* sep) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) out += (i ? sep : "") + v[i];
  return out;
}

// Role of a start step in a run: the first start of the variant's
// ModuleFolder\folder\program is the driver setup.
std::string StartRole(const VariantRun& run, const Step& s, bool* setupSeen) {
  if (*setupSeen) return "further program";
  for (int i = 0; i < kVariantCount; ++i) {
    const VariantKeys& keys = Variants()[i];
    if (run.variant != keys.name) continue;
    const ProfileRead* folder = FindRead(run, keys.setupFolder);
    const ProfileRead* program = FindRead(run, keys.setupProgram);
    if (!folder || !program) break;
    std::string setup = run.moduleFolder + "\\" + folder->value + "\\" + program->value;
    if (s.commandLine.size() >= setup.size() && ProfileFile::NamesEqual(s.commandLine.substr(0, setup.size()), setup)) {
      *setupSeen = true;
      return "driver setup";
    }
  }
  return "further program";
}

// JSON text: 8-bit ANSI text goes out as \u00XX for bytes above 0x7F.
std::string J(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}
std::string J(bool b) { return b ? "true" : "false"; }
std::string J(int v) { return std::to_string(v); }
std::string J(const std::vector<std::string>& v) {
  std::string out = "[";
  for (size_t i = 0; i < v.size(); ++i) out += (i ? ", " : "") + J(v[i]);
  return out + "]";
}

std::string ExitStatusText(int32_t status) {
  std::vector<std::string> parts;
  if (status & kExitNoDriverSetup) parts.push_back("no driver setup");
  if (status & kExitProgramNotStarted) parts.push_back("a program not started");
  if (status & kExitFinishInstallMissing) parts.push_back("finished-install mark missing");
  if (status & kExitUpdateNotOpened) parts.push_back("an update package not opened");
  return std::to_string(status) + (parts.empty() ? std::string(" (everything configured was done)")
                                                 : " (" + Join(parts, ", ") + ")");
}

const char* FinishName(FinishInstallMark m) {
  return m == FinishInstallMark::Yes ? "yes" : m == FinishInstallMark::No ? "no" : "absent";
}

}  // namespace

std::string SilentReason(const CheckResult& result, const VariantRun& run) {
  if (result.options.silentWord) return "the command-line word s";
  const ProfileRead* r = FindRead(run, "SilenceMode");
  if (run.Silent) return r ? "SilenceMode=" + r->value + " (" + Origin(*r) + ")" : "SilenceMode";
  if (!r) return "no command-line word";
  return "no command-line word, SilenceMode " + (r->fromFile ? "is " + Quoted(r->value) + " (line " +
                                                                   std::to_string(r->line) + ")"
                                                             : std::string("is absent"));
}

bool AudioSwitchCalled(const VariantRun& run) { return FindStep(run, Step::AudioSwitch) != nullptr; }

std::string AudioSwitchReason(const VariantRun& run) {
  if (!run.IsVista) return "XP class: always called; it decides from EnableXPAudioClass and the audio keys";
  return run.EnableAudioClass ? "Vista class and EnableAudioClass is on" : "Vista class and EnableAudioClass is 0";
}

bool ConfirmsUpdateInstaller(const VariantRun& run) {
  const Step* s = FindStep(run, Step::ClosingDialog);
  return s && s->armed;
}

std::string TextReport(const CheckResult& result) {
  std::string out;
  out += "setup-check: package " + result.packageDir + "\n";
  out += "Setting.ini: " + (result.settingsPresent ? std::to_string(result.settingsLines) + " lines"
                                                   : std::string("missing, every key takes its default")) +
         "\n";
  if (!result.options.devices.empty()) out += "devices present: " + Join(result.options.devices, ", ") + "\n";
  out += "finished-install mark assumed: " + std::string(FinishName(result.options.finishInstall)) + "\n";

  if (!result.runs.empty()) {
    out += "\nsettings as the launcher reads them:\n";
    for (const ProfileRead& r : result.runs.front().reads) {
      char line[600];
      std::snprintf(line, sizeof line, "  %-22s = %-30s %s\n", r.key.c_str(), Quoted(r.value).c_str(),
                    Origin(r).c_str());
      out += line;
    }
  }

  for (const VariantRun& run : result.runs) {
    out += "\n" + run.variant + " (Windows NT " + (run.vista ? "6.1" : "5.1") + ", " + (run.x64 ? "64" : "32") +
           "-bit): " + run.commandLine + "\n";
    out += "  silent: " + std::string(run.Silent ? "yes" : "no") + " (" + SilentReason(result, run) + ")\n";
    int n = 0;
    bool setupSeen = false;
    for (const Step& s : run.steps) {
      std::string item;
      switch (s.kind) {
        case Step::Start:
          item = StartRole(run, s, &setupSeen) + ": start " + s.commandLine;
          if (!s.started) item += "\n       not started: " + s.program + " is " + s.why;
          break;
        case Step::Open:
          item = "update package: open " + s.program + " (shell result " + std::to_string(s.shellResult) +
                 (s.started ? ")" : ", not opened: " + s.why + ")");
          break;
        case Step::Box:
          item = "box " + Quoted(s.caption) + ": " + Quoted(s.text) + (s.warningIcon ? " (warning icon)" : "");
          break;
        case Step::AudioSwitch:
          item = "audio-class switch called (" + AudioSwitchReason(run) + "); " +
                 (s.captureDevice ? "capture device present" : "no capture driver found") + ", answer: " +
                 (s.result ? "re-plug" : "no re-plug");
          for (const RegisterWrite& w : s.writes)
            item += "\n       device register " + std::to_string(w.reg) + " written: " + Hex(w.before) + " -> " +
                    Hex(w.after);
          if (!s.removedNodes.empty()) item += "\n       device nodes removed: " + Join(s.removedNodes, ", ");
          break;
        case Step::CollectIds:
          item = "hardware IDs: DeviceIDNum " + std::to_string(s.count) + ", matched: " +
                 (s.matched.empty() ? std::string("none") : Join(s.matched, ", "));
          break;
        case Step::FinishInstall:
          item = "finished install " + FinishInstallText(run);
          break;
        case Step::ClosingDialog:
          item = "closing dialog " + ClosingText(s);
          break;
      }
      out += "  " + std::to_string(++n) + ". " + item + "\n";
    }
    if (!AudioSwitchCalled(run)) out += "  audio-class switch not called (" + AudioSwitchReason(run) + ")\n";
    if (!FindStep(run, Step::FinishInstall)) out += "  finished install " + FinishInstallText(run) + "\n";
    out += "  Setup.exe exit status: " + ExitStatusText(run.setupExitStatus) + "\n";
  }

  out += "\nfindings:\n";
  if (result.findings.empty()) out += "  none\n";
  for (const Finding& f : result.findings) {
    // A finding on a default value has no line: it is the package's.
    std::string where = f.line > 0 ? "Setting.ini:" + std::to_string(f.line) + ":"
                        : f.variants.empty() ? std::string("Setting.ini:")
                                             : std::string("package:");
    out += "  " + where + " " + SeverityName(f.severity) + ": " + f.message;
    if (!f.variants.empty()) out += " [" + Join(f.variants, ", ") + "]";
    out += " (" + f.code + ")\n";
  }
  out += std::to_string(result.errors) + " error(s), " + std::to_string(result.warnings) + " warning(s), " +
         std::to_string(result.notes) + " note(s)\n";
  return out;
}

std::string JsonReport(const CheckResult& result) {
  std::string o = "{\n";
  o += "  \"tool\": \"setup-check\",\n";
  o += "  \"package\": " + J(result.packageDir) + ",\n";
  o += "  \"settingsFile\": {\"path\": " + J(result.settingsPath) + ", \"present\": " + J(result.settingsPresent) +
       ", \"lines\": " + J(result.settingsLines) + "},\n";
  o += "  \"assumed\": {\"silentWord\": " + J(result.options.silentWord) + ", \"devices\": " +
       J(result.options.devices) + ", \"finishInstall\": " + J(std::string(FinishName(result.options.finishInstall))) +
       ", \"moduleFolder\": " + J(result.options.moduleFolder) + "},\n";
  o += "  \"settings\": [";
  if (!result.runs.empty()) {
    const std::vector<ProfileRead>& reads = result.runs.front().reads;
    for (size_t i = 0; i < reads.size(); ++i) {
      const ProfileRead& r = reads[i];
      o += std::string(i ? "," : "") + "\n    {\"key\": " + J(r.key) + ", \"value\": " + J(r.value) +
           ", \"default\": " + J(!r.fromFile) + ", \"defaultText\": " + J(r.defaultText) + ", \"line\": " + J(r.line) +
           "}";
    }
    o += "\n  ";
  }
  o += "],\n  \"runs\": [";
  for (size_t i = 0; i < result.runs.size(); ++i) {
    const VariantRun& run = result.runs[i];
    o += std::string(i ? "," : "") + "\n    {\"variant\": " + J(run.variant) + ", \"windowsVersion\": " +
         J(std::string(run.vista ? "6.1" : "5.1")) + ", \"x64\": " + J(run.x64) + ",\n";
    o += "     \"commandLine\": " + J(run.commandLine) + ", \"moduleFolder\": " + J(run.moduleFolder) + ",\n";
    o += "     \"silent\": " + J(run.Silent != 0) + ", \"silentReason\": " + J(SilentReason(result, run)) + ",\n";
    o += "     \"steps\": [";
    bool setupSeen = false;
    for (size_t k = 0; k < run.steps.size(); ++k) {
      const Step& s = run.steps[k];
      o += std::string(k ? "," : "") + "\n       {";
      switch (s.kind) {
        case Step::Start:
          o += "\"kind\": \"start\", \"role\": " + J(StartRole(run, s, &setupSeen)) + ", \"program\": " +
               J(s.program) + ", \"commandLine\": " + J(s.commandLine) + ", \"started\": " + J(s.started) +
               ", \"reason\": " + J(s.why);
          break;
        case Step::Open:
          o += "\"kind\": \"open\", \"target\": " + J(s.program) + ", \"shellResult\": " + J(s.shellResult) +
               ", \"opened\": " + J(s.started) + ", \"reason\": " + J(s.why);
          break;
        case Step::Box:
          o += "\"kind\": \"box\", \"caption\": " + J(s.caption) + ", \"text\": " + J(s.text) + ", \"icon\": " +
               J(std::string(s.warningIcon ? "warning" : "none"));
          break;
        case Step::AudioSwitch:
          o += "\"kind\": \"audioSwitch\", \"captureDevice\": " + J(s.captureDevice) + ", \"result\": " + J(s.result) +
               ", \"registerWrites\": [";
          for (size_t w = 0; w < s.writes.size(); ++w)
            o += std::string(w ? ", " : "") + "{\"register\": " + J(static_cast<int>(s.writes[w].reg)) +
                 ", \"before\": " + J(s.writes[w].before) + ", \"after\": " + J(s.writes[w].after) + "}";
          o += "], \"removedNodes\": " + J(s.removedNodes);
          break;
        case Step::CollectIds:
          o += "\"kind\": \"hardwareIds\", \"count\": " + J(s.count) + ", \"matched\": " + J(s.matched);
          break;
        case Step::FinishInstall:
          o += "\"kind\": \"finishInstall\", \"registryKey\": " + J(s.registryKey) + ", \"read\": " +
               J(s.valueRead) + ", \"value\": " + J(static_cast<int>(s.value));
          break;
        case Step::ClosingDialog:
          o += "\"kind\": \"closingDialog\", \"msuOpened\": " + J(s.MsuOpened) + ", \"enableTimer\": " +
               J(s.EnableTimer) + ", \"waitTimer\": " + J(s.WaitTimer) + ", \"confirmsUpdateInstaller\": " +
               J(s.armed);
          break;
      }
      o += "}";
    }
    o += "\n     ],\n";
    o += "     \"audioSwitchCalled\": " + J(AudioSwitchCalled(run)) + ", \"audioSwitchReason\": " +
         J(AudioSwitchReason(run)) + ",\n";
    o += "     \"finishInstallChecked\": " + J(run.CheckFinishInstall != 0) + ", \"finishInstallOk\": " +
         J(run.FinishInstallOk != 0) + ", \"msuOpened\": " + J(run.MsuOpened != 0) +
         ", \"confirmsUpdateInstaller\": " + J(ConfirmsUpdateInstaller(run)) + ", \"setupExitStatus\": " +
         J(run.setupExitStatus) + "}";
  }
  o += result.runs.empty() ? "],\n" : "\n  ],\n";
  o += "  \"findings\": [";
  for (size_t i = 0; i < result.findings.size(); ++i) {
    const Finding& f = result.findings[i];
    o += std::string(i ? "," : "") + "\n    {\"severity\": " + J(std::string(SeverityName(f.severity))) +
         ", \"code\": " + J(f.code) + ", \"line\": " + J(f.line) + ", \"key\": " + J(f.key) + ", \"message\": " +
         J(f.message) + ", \"variants\": " + J(f.variants) + "}";
  }
  o += result.findings.empty() ? "],\n" : "\n  ],\n";
  o += "  \"summary\": {\"errors\": " + J(result.errors) + ", \"warnings\": " + J(result.warnings) +
       ", \"notes\": " + J(result.notes) + ", \"exitStatus\": " + J(result.ExitStatus()) + "}\n}\n";
  return o;
}

std::string TraceReport(const CheckResult& result) {
  std::string o;
  for (const VariantRun& run : result.runs) {
    o += "run " + run.variant + "\n";
    for (const Step& s : run.steps) {
      switch (s.kind) {
        case Step::Start:
          o += (s.started ? "start " : "cannot-start ") + s.commandLine + "\n";
          break;
        case Step::Open:
          o += (s.started ? "open " : "cannot-open ") + s.program + "\n";
          break;
        case Step::Box:
          o += "box " + s.caption + "|" + s.text + "\n";
          break;
        case Step::ClosingDialog:
          o += std::string("dialog ") + (s.armed ? "confirms" : "closes") + "\n";
          break;
        case Step::AudioSwitch:
          // The device's memory and nodes are outputs of the run as well.
          for (const RegisterWrite& w : s.writes) o += "write " + std::to_string(w.reg) + " " + Hex(w.after) + "\n";
          for (const std::string& id : s.removedNodes) o += "remove " + id + "\n";
          break;
        default:
          break;
      }
    }
    o += "exit " + std::to_string(run.setupExitStatus) + "\n";
  }
  return o;
}
