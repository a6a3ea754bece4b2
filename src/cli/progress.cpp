#include "progress.h"

namespace quarn {
namespace {

constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

void MeteredObserver::RoomStarted() {
  next_.RoomStarted();
  meter_.AddRoom();
}

void ProgressMeter::StartBuilding(int index) {
  building_ = index;
  rooms_ = 0;
  Show();
}

void ProgressMeter::AddRoom() {
  ++rooms_;
  Show();
}

void ProgressMeter::Show() {
  if (!enabled_) return;
  const Clock::time_point now = Clock::now();
  if (now - start_ < kQuietStart || (shown_ && now - lastShown_ < kRedrawInterval)) return;
  lastShown_ = now;
  shown_ = true;
  out_ << "\rquarn-gen: building " << building_ + 1 << " of " << buildings_ << ", " << rooms_
       << (rooms_ == 1 ? " room" : " rooms") << "\x1b[K" << std::flush;
}

void ProgressMeter::Finish() {
  if (shown_) out_ << "\r\x1b[K" << std::flush;
  shown_ = false;
}

}  // namespace quarn
