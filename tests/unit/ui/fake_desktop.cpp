#include "fake_desktop.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

FakeDesktop::FakeDesktop() {
  Window root;
  root.label = "desktop";
  root.className = "#32769";
  windows_.push_back(root);
}

WindowRef FakeDesktop::Add(WindowRef parent, const std::string& className, int32_t id,
                           const std::string& label) {
  Window w;
  w.label = label;
  w.className = className;
  w.id = id;
  w.parent = parent;
  windows_.push_back(w);
  const WindowRef ref = windows_.size();
  windows_[parent - 1].children.push_back(ref);
  return ref;
}

void FakeDesktop::Destroy(WindowRef window) {
  if (!Alive(window)) return;
  Window& w = windows_[window - 1];
  for (WindowRef child : std::vector<WindowRef>(w.children)) Destroy(child);
  w.alive = false;
  auto& siblings = windows_[w.parent - 1].children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
}

void FakeDesktop::DestroyAfterPost(WindowRef trigger, WindowRef victim) {
  afterPost_.push_back({trigger, victim, false});
}

void FakeDesktop::DestroyBeforeUse(WindowRef trigger, WindowRef victim) {
  beforeUse_.push_back({trigger, victim, false});
}

bool FakeDesktop::Alive(WindowRef w) const {
  return w >= 1 && w <= windows_.size() && windows_[w - 1].alive;
}

void FakeDesktop::Use(WindowRef w) {
  for (Trigger& t : beforeUse_) {
    if (!t.done && t.trigger == w) {
      t.done = true;
      Destroy(t.victim);
    }
  }
}

WindowRef FakeDesktop::Desktop() { return Root(); }

WindowRef FakeDesktop::NextChildOfClass(WindowRef parent, WindowRef after, const char* className) {
  Use(parent);
  Use(after);
  if (!Alive(parent)) return 0;
  const auto& children = windows_[parent - 1].children;
  size_t i = 0;
  if (after != 0) {
    auto it = std::find(children.begin(), children.end(), after);
    if (it == children.end()) return 0;
    i = static_cast<size_t>(it - children.begin()) + 1;
  }
  for (; i < children.size(); ++i) {
    if (strcasecmp(windows_[children[i] - 1].className.c_str(), className) == 0) return children[i];
  }
  return 0;
}

WindowRef FakeDesktop::FirstChild(WindowRef window) {
  Use(window);
  if (!Alive(window) || windows_[window - 1].children.empty()) return 0;
  return windows_[window - 1].children.front();
}

WindowRef FakeDesktop::LastSibling(WindowRef window) {
  Use(window);
  if (!Alive(window)) return 0;
  return windows_[windows_[window - 1].parent - 1].children.back();
}

int32_t FakeDesktop::ReadClassName(WindowRef window, char* buffer, int32_t capacity) {
  Use(window);
  capacities_.push_back(capacity);
  if (capacity <= 0) return 0;
  buffer[0] = '\0';
  if (!Alive(window)) return 0;
  const std::string& name = windows_[window - 1].className;
  const size_t n = std::min(name.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
  return static_cast<int32_t>(n);
}

int32_t FakeDesktop::ControlId(WindowRef window) {
  Use(window);
  return Alive(window) ? windows_[window - 1].id : 0;
}

void FakeDesktop::Post(WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  Use(window);
  std::string what = message == kMessageLeftButtonDown ? "down"
                     : message == kMessageLeftButtonUp ? "up"
                                                       : "msg" + std::to_string(message);
  const std::string label =
      window >= 1 && window <= windows_.size() ? windows_[window - 1].label : "?";
  log_.push_back(label + " " + what + " " + std::to_string(wParam) + " " + std::to_string(lParam));
  for (Trigger& t : afterPost_) {
    if (!t.done && t.trigger == window) {
      t.done = true;
      Destroy(t.victim);
    }
  }
}

void FakeDesktop::StartTimer(uint32_t timerId, int32_t intervalMs) {
  log_.push_back("timer " + std::to_string(timerId) + " " + std::to_string(intervalMs));
}
