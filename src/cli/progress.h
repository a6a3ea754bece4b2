#pragma once

#include <chrono>
#include <functional>
#include <ostream>

#include "building/designobserver.h"

namespace quarn {

// Passes every design event on to another observer and counts each room
// started on a progress meter.
class ProgressMeter;
class MeteredObserver final : public DesignObserver {
 public:
  MeteredObserver(DesignObserver& next, ProgressMeter& meter) : next_(next), meter_(meter) {}

  void RoomStarted() override;
  void CellPlaced() override { next_.CellPlaced(); }
  void RoomCompleted() override { next_.RoomCompleted(); }
  void CandidateScored(float score) override { next_.CandidateScored(score); }
  void CandidatesScored() override { next_.CandidatesScored(); }
  void StepTaken() override { next_.StepTaken(); }

 private:
  DesignObserver& next_;
  ProgressMeter& meter_;
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
