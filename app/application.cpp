#include "app/application.h"

namespace {
Application* g_current = nullptr;
}

Application::Application() { g_current = this; }

Application::~Application() {
  if (g_current == this) g_current = nullptr;
}

Application* Application::Current() { return g_current; }

int32_t RunApplication() {
  Application* app = Application::Current();
  return app ? app->InitInstance() : 0;
}
