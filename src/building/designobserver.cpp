#include "building/designobserver.h"

namespace quarn {

void TextTraceObserver::RoomStarted() { out_ << '\n' << "=============" << '\n'; }

void TextTraceObserver::RoomCompleted() { out_ << "ROOM COMPLETE" << '\n'; }

void TextTraceObserver::CandidateScored(float score) { out_ << score << '\n'; }

void TextTraceObserver::CandidatesScored() { out_ << '\n' << "---" << '\n'; }

void TextTraceObserver::StepTaken() { out_.flush(); }

}  // namespace quarn
