#include "app/ctestbox2listscore.h"

#include "app/benchcommon.h"
#include "app/benchdrawing.h"
#include "building/ccolour.h"
#include "building/cboxscore.h"
#include "render/cbox2draw.h"

namespace {

constexpr const char* kHelp[] = {
    "\n======== 2D BOX LIST TESTING MODE ========\n\n",
    "  [SPACE] = place the corner of a rectangle\n",
    "  [Z] = start a new boxlist\n",
    "  [R] = reset all\n",
    "  [O] = do the thing and output the whatsit\n",
    "\n==========================================\n\n",
};

constexpr int kMaxLists = 3;

}  // namespace

CTestBox2ListScore::CTestBox2ListScore(std::ostream& output) : CBenchMode(output) { Reset(); }

void CTestBox2ListScore::Reset() {
  quarn::ResetLists(lists);
  pendingCorner.reset();
}

void CTestBox2ListScore::Enter() {
  Reset();
  PrintHelp(kHelp);
}

void CTestBox2ListScore::Init() { Reset(); }

void CTestBox2ListScore::Update(const CMouseState& mouse, const CKeySet& keys) {
  quarn::FollowPointer(mouse, drag, cursor);
  if (keys.WasPressed(' ')) quarn::PlaceCorner(pendingCorner, cursor, lists[lists.GetSize() - 1]);
  if (keys.WasPressed('Z') && lists.GetSize() < kMaxLists) lists.Add(CBox2List());
  if (keys.WasPressed('M')) quarn::RemoveLastBox(lists);
  if (keys.WasPressed('R')) Reset();
  if (keys.WasPressed('O')) PrintScore();
  if (keys.WasPressed('L')) {
    for (int i = 0; i < lists.GetSize(); ++i) lists[i].Slice();
  }
}

void CTestBox2ListScore::PrintScore() const {
  if (lists.GetSize() != kMaxLists || lists[0].GetSize() == 0 || lists[2].GetSize() == 0) return;
  // One linked list of all boxes, so that the candidate's links reach the
  // room's cells as they would inside one region.
  CBox2List all;
  for (int i = 0; i < kMaxLists; ++i) all.AddList(lists[i]);
  all.SetNeighbours();
  CBox2PtrList destination;
  for (int i = 0; i < lists[0].GetSize(); ++i) destination.Add(&all[i]);
  CBox2* candidate = &all[all.GetSize() - 1];
  *out << CBoxScore(candidate, destination);
  out->flush();
}

void CTestBox2ListScore::DrawFrame() {
  quarn::BeginBenchDraw(*this, cursor);
  const CColour listColours[kMaxLists] = {CColour(0.25f, 0.5f, 1.0f), CColour(1.0f, 0.5f, 0.75f),
                                          CColour(0.0f, 1.0f, 0.0f)};
  for (int i = 0; i < lists.GetSize() && i < kMaxLists; ++i) {
    quarn::SetColour(listColours[i]);
    ::Draw(lists[i], 3);
  }
  quarn::DrawPendingBox(pendingCorner, cursor, CColour(0.7f, 0.7f, 0.7f));
  quarn::EndBenchDraw();
}
