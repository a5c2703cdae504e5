#pragma once
// A desktop for the scan to walk: a tree of windows built by the test,
// answering as the window manager does (class lookup ignores letter case as
// class atoms do, a gone window answers nothing), recording every post and
// every end of the closing dialog in one ordered log.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/completion_logic.h"
#include "ui/window_manager_port.h"

class FakeDesktop : public WindowManagerPort, public CompletionWindowPort {
 public:
  FakeDesktop();

  WindowRef Root() const { return 1; }
  // A new last child of parent, named label in the log.
  WindowRef Add(WindowRef parent, const std::string& className, int32_t id, const std::string& label);
  // Removes window and everything in it.
  void Destroy(WindowRef window);
  // The window goes away right after the first post to trigger.
  void DestroyAfterPost(WindowRef trigger, WindowRef victim);
  // The window goes away just before the first call that names trigger.
  void DestroyBeforeUse(WindowRef trigger, WindowRef victim);

  // Everything done, in order: "<label> down <w> <l>", "<label> up <w> <l>",
  // "end", "timer <id> <ms>", "hide".
  const std::vector<std::string>& Log() const { return log_; }
  // Capacities the class names were asked into.
  const std::vector<int32_t>& ClassNameCapacities() const { return capacities_; }

  // WindowManagerPort
  WindowRef Desktop() override;
  WindowRef NextChildOfClass(WindowRef parent, WindowRef after, const char* className) override;
  WindowRef FirstChild(WindowRef window) override;
  WindowRef LastSibling(WindowRef window) override;
  int32_t ReadClassName(WindowRef window, char* buffer, int32_t capacity) override;
  int32_t ControlId(WindowRef window) override;
  void Post(WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;

  // CompletionWindowPort
  void EndWithOk() override { log_.push_back("end"); }
  void StartTimer(uint32_t timerId, int32_t intervalMs) override;
  void Hide() override { log_.push_back("hide"); }

 private:
  struct Window {
    std::string label;
    std::string className;
    int32_t id = 0;
    WindowRef parent = 0;
    std::vector<WindowRef> children;
    bool alive = true;
  };
  struct Trigger {
    WindowRef trigger;
    WindowRef victim;
    bool done;
  };

  bool Alive(WindowRef w) const;
  void Use(WindowRef w);

  std::vector<Window> windows_;  // index = reference - 1
  std::vector<Trigger> afterPost_;
  std::vector<Trigger> beforeUse_;
  std::vector<std::string> log_;
  std::vector<int32_t> capacities_;
};
