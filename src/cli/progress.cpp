#include "progress.h"

namespace quarn {
namespace {

constexpr int kMarkerLength = 13;  // "=============" opens every design step
constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

void TraceTap::See(char c) {
  if (c == '\n') {
    if (lineIsMarker_ && lineLength_ == kMarkerLength && onRoom_) onRoom_();
    lineLength_ = 0;
    lineIsMarker_ = true;
    return;
  }
  ++lineLength_;
  lineIsMarker_ = lineIsMarker_ && c == '=';
}

TraceTap::int_type TraceTap::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  See(traits_type::to_char_type(ch));
  if (target_ == nullptr) return ch;
  return target_->sputc(traits_type::to_char_type(ch));
}

std::streamsize TraceTap::xsputn(const char* text, std::streamsize count) {
  for (std::streamsize i = 0; i < count; ++i) See(text[i]);
  return target_ == nullptr ? count : target_->sputn(text, count);
}

int TraceTap::sync() { return target_ == nullptr ? 0 : target_->pubsync(); }

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
