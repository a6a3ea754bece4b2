#pragma once

// A window and an application that record what the framework calls, with
// hooks for the test's own actions, and a guard that ends a message loop
// that would otherwise spin forever.

#include <functional>
#include <string>
#include <vector>

#include "glwindow.h"
#include "glwindowex.h"
#include "main.h"
#include "platform.h"

namespace quarn::fw::test {

// Exit code of a loop that the idle guard had to end.
inline constexpr int kRunawayLoop = 99;

// Queues a close of window carrying an exit code, as the platform does.
inline void PostClose(GLWindow& window, int code) {
  platform::PostCloseMessage(window.GetExtra()->m_window, code);
}

class RecordingWindow : public GLWindow {
 public:
  std::vector<std::string> log;
  std::function<void()> onCreate;
  std::function<void()> onDisplay;
  std::function<void()> onIdle;
  int idlePasses = 0;
  // The idle pass that ends the loop if the test did not.
  int idleLimit = 2000;

  void OnCreate() override {
    log.push_back("create");
    if (onCreate) onCreate();
  }
  void OnDestroy() override { log.push_back("destroy"); }
  void OnDisplay() override {
    log.push_back("display");
    if (onDisplay) onDisplay();
  }
  void OnResize(int width, int height) override {
    log.push_back("resize " + std::to_string(width) + "x" + std::to_string(height));
  }
  void OnMouseButton(int button, bool down) override {
    log.push_back("button " + std::to_string(button) + (down ? " down" : " up"));
  }
  void OnMouseMove(int x, int y) override {
    log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnKeyboard(int key, bool down) override {
    log.push_back("key " + std::to_string(key) + (down ? " down" : " up"));
  }
  void OnIdle() override {
    ++idlePasses;
    if (onIdle) onIdle();
    if (idlePasses == idleLimit && IsMainWindow()) PostClose(*this, kRunawayLoop);
  }

  int Count(const std::string& entry) const {
    int count = 0;
    for (const std::string& e : log) count += e == entry ? 1 : 0;
    return count;
  }
};

class RecordingApp : public App {
 public:
  std::vector<std::string> log;
  std::function<void(double)> onTimer;

  void OnCreate() override { log.push_back("app create"); }
  void OnDestroy() override { log.push_back("app destroy"); }
  void OnTimer(double seconds) override {
    log.push_back("timer");
    if (onTimer) onTimer(seconds);
  }
};

}  // namespace quarn::fw::test
