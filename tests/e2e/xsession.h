#pragma once

// Helpers for driving the real application on a private X server: an Xvfb
// display, a child process, xdotool commands and screenshots read back as
// pixels.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quarn::e2e {

inline void Pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// A started child process; killed when still running at destruction.
class ChildProcess {
 public:
  // Runs argv[0] with argv in folder; standard output and error go to
  // outputFile when given.
  ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& folder,
               const std::filesystem::path& outputFile = {}) {
    pid_ = fork();
    if (pid_ != 0) return;
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
    if (!outputFile.empty()) {
      const int fd = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd >= 0) {
        dup2(fd, 1);
        dup2(fd, 2);
        close(fd);
      }
    }
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  ~ChildProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit code once the process ended within the time, or nothing.
  std::optional<int> WaitForExit(int milliseconds) {
    for (int waited = 0; waited <= milliseconds; waited += 50) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      Pause(50);
    }
    return std::nullopt;
  }
  bool IsRunning() {
    if (exited_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) exited_ = true;
    return !exited_;
  }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
};

// An Xvfb server on a free display number; DISPLAY points at it while the
// object lives. Another test may pick the same free number at the same
// moment; its server then refuses to start, so a display counts only while
// the server started here is still running a moment after it answered.
class XvfbDisplay {
 public:
  XvfbDisplay() {
    for (int number = 90 + getpid() % 50; number < 400 && display_ == nullptr; ++number) {
      const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
      if (std::filesystem::exists(lock) || std::filesystem::exists(socket)) continue;
      name_ = ":" + std::to_string(number);
      server_.emplace(std::vector<std::string>{"/usr/bin/Xvfb", name_, "-screen", "0",
                                               "1024x768x24", "-nolisten", "tcp"},
                      std::filesystem::path{}, "/dev/null");
      for (int waited = 0; waited < 10000 && display_ == nullptr && server_->IsRunning();
           waited += 100) {
        Pause(100);
        display_ = XOpenDisplay(name_.c_str());
      }
      Pause(500);
      if (display_ != nullptr && !server_->IsRunning()) {
        XCloseDisplay(display_);
        display_ = nullptr;
      }
    }
    setenv("DISPLAY", name_.c_str(), 1);
  }
  ~XvfbDisplay() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  bool IsReady() const { return display_ != nullptr; }
  Display* Get() const { return display_; }

  // Sends the window manager's close request, as a title-bar close does.
  void RequestClose(Window window) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
  }

 private:
  std::string name_;
  std::optional<ChildProcess> server_;
  Display* display_ = nullptr;
};

// Standard output of a shell command, or nothing when it failed.
inline std::optional<std::string> CommandOutput(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string output;
  std::array<char, 4096> buffer{};
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    output.append(buffer.data(), n);
  }
  if (pclose(pipe) != 0) return std::nullopt;
  return output;
}

inline bool Command(const std::string& command) { return std::system(command.c_str()) == 0; }

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// A screenshot as 8-bit RGB, origin top-left.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  Rgb At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
};

// Reads a binary PPM (P6, maxval 255) as ImageMagick writes it.
inline std::optional<Image> ParsePpm(const std::string& data) {
  Image image;
  int maxValue = 0;
  int consumed = 0;
  if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &image.width, &image.height, &maxValue,
                  &consumed) != 3 ||
      maxValue != 255 || image.width <= 0 || image.height <= 0) {
    return std::nullopt;
  }
  const std::size_t size = static_cast<std::size_t>(image.width) * image.height * 3;
  const std::size_t start = static_cast<std::size_t>(consumed) + 1;
  if (data.size() < start + size) return std::nullopt;
  image.rgb.assign(data.begin() + static_cast<std::ptrdiff_t>(start),
                   data.begin() + static_cast<std::ptrdiff_t>(start + size));
  return image;
}

// Saves the window's picture as a PNG and returns its pixels.
inline std::optional<Image> Screenshot(Window window, const std::filesystem::path& png) {
  if (!Command("import -window " + std::to_string(window) + " " + png.string())) return std::nullopt;
  const std::optional<std::string> ppm = CommandOutput("convert " + png.string() + " ppm:-");
  if (!ppm) return std::nullopt;
  return ParsePpm(*ppm);
}

}  // namespace quarn::e2e
