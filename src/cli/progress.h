#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <streambuf>

namespace quarn {

// A stream buffer that passes the design trace on to another buffer (or
// drops it when there is none) and calls onRoom each time a design step
// begins, which the trace marks with a line of "=============".
class TraceTap : public std::streambuf {
 public:
  TraceTap(std::streambuf* target, std::function<void()> onRoom)
      : target_(target), onRoom_(std::move(onRoom)) {}

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  void See(char c);

  std::streambuf* target_;
  std::function<void()> onRoom_;
  int lineLength_ = 0;
  bool lineIsMarker_ = true;
};

// A one-line progress report on a terminal: which building is being
// generated and how many rooms it has so far. Nothing is shown for runs that
// end within the first half second, and the line is redrawn at most ten
// times a second. When disabled it writes nothing at all.
class ProgressMeter {
 public:
  ProgressMeter(std::ostream& out, bool enabled, int buildings)
      : out_(out), enabled_(enabled), buildings_(buildings), start_(Clock::now()) {}

  void StartBuilding(int index);
  void AddRoom();
  // Clears the line if anything was shown.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  void Show();

  std::ostream& out_;
  bool enabled_;
  int buildings_;
  int building_ = 0;
  long rooms_ = 0;
  Clock::time_point start_;
  Clock::time_point lastShown_{};
  bool shown_ = false;
};

}  // namespace quarn
