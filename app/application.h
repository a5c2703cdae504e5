#pragma once
// The small application layer the launcher stands on: one application
// object with static storage, whose start-up hook runs the whole job. The
// entry point (WinMain on Windows, main in the host tools) hands it its
// platform and calls RunApplication(); the process ends when that returns.
#include <cstdint>

class Application {
 public:
  Application();
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up hook. A result of 0 ends the process without a message loop.
  virtual int32_t InitInstance() = 0;

  // The one application object, or null before it is constructed.
  static Application* Current();

  // The window that stands for the application while it runs (the closing
  // dialog); an opaque platform handle, 0 when there is none.
  uintptr_t MainWindow() const { return mainWindow_; }
  void SetMainWindow(uintptr_t window) { mainWindow_ = window; }

 private:
  uintptr_t mainWindow_ = 0;
};

// Runs the current application's start-up hook and returns the process's
// exit status.
int32_t RunApplication();
