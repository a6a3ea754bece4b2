#pragma once

#include <ostream>

namespace quarn {

// What a floor's design reports while it runs, in this order for each
// room: RoomStarted; CellPlaced for every cell the room takes (one design
// step each, the unit of the step budget); then either RoomCompleted, or
// CandidateScored for every cell left in the region (ascending by score)
// followed by CandidatesScored, or nothing when the region ran out; then
// StepTaken.
// Every event does nothing here, so this class is also the silent observer.
// An observer belongs to one design at a time: designs on other threads need
// observers of their own.
class DesignObserver {
 public:
  virtual ~DesignObserver() = default;

  virtual void RoomStarted() {}
  virtual void CellPlaced() {}
  virtual void RoomCompleted() {}
  virtual void CandidateScored(float /*score*/) {}
  virtual void CandidatesScored() {}
  virtual void StepTaken() {}
};

// The design trace as text: "=============" before every room, "ROOM
// COMPLETE" or the candidates' scores one a line then "---", each design
// step flushed once at its end.
class TextTraceObserver final : public DesignObserver {
 public:
  explicit TextTraceObserver(std::ostream& out) : out_(out) {}

  void RoomStarted() override;
  void RoomCompleted() override;
  void CandidateScored(float score) override;
  void CandidatesScored() override;
  void StepTaken() override;

 private:
  std::ostream& out_;
};

}  // namespace quarn
