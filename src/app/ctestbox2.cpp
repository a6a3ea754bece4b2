#include "app/ctestbox2.h"

#include <GL/gl.h>

#include "app/benchcommon.h"
#include "app/benchdrawing.h"
#include "building/ccolour.h"
#include "render/cbox2draw.h"

namespace {

constexpr const char* kHelp[] = {
    "\n======== 2D BOX TESTING MODE ========\n",
    "  SPACE = place the corner of a rectangle\n",
    "  R = reset all\n",
    "  O = output some info\n",
    "  U,D,I = csg operations\n",
    "  M = remove last rectangle\n",
    "  S = replace last rectangle\n",
    "  N = recalculate neighbours\n",
};

}  // namespace

CTestBox2::CTestBox2(std::ostream& output) : CBenchMode(output) {}

void CTestBox2::Enter() {
  *this = CTestBox2(*out);
  PrintHelp(kHelp);
}

void CTestBox2::Init() {}

void CTestBox2::Update(const CMouseState& mouse, const CKeySet& keys) {
  quarn::FollowPointer(mouse, drag, cursor);
  if (keys.WasPressed(' ')) quarn::PlaceCorner(pendingCorner, cursor, boxes);
  if (keys.WasPressed('S')) ReplaceLastBox();
  if (keys.WasPressed('M') && boxes.GetSize() > 0) boxes.RemoveLast();
  if (keys.WasPressed('R')) {
    boxes.Clear();
    pendingCorner.reset();
  }
  if (keys.WasPressed('O')) PrintOutput();
  if (boxes.GetSize() >= 2) CombineLastTwo(keys);
  if (keys.WasPressed('N')) LinkAllPairs();
}

void CTestBox2::ReplaceLastBox() {
  if (boxes.GetSize() == 0 || !quarn::GetPendingBox(pendingCorner, cursor)) return;
  boxes[boxes.GetSize() - 1].Set(*pendingCorner, cursor);
  pendingCorner.reset();
}

void CTestBox2::PrintOutput() const {
  *out << "\n-------- OUTPUT ----------\n\n";
  for (int i = 0; i < boxes.GetSize(); ++i) {
    *out << i << '\n';
    boxes[i].Print(*out);
    *out << '\n';
  }
  for (int i = 0; i < boxes.GetSize(); ++i) {
    if (boxes[i].IsCorner(cursor)) *out << "  " << i << " has corner " << cursor << '\n';
  }
  out->flush();
}

void CTestBox2::CombineLastTwo(const CKeySet& keys) {
  const int last = boxes.GetSize() - 1;
  const std::optional<CBox2List> result = quarn::CombineByKey(boxes[last - 1], boxes[last], keys);
  if (!result) return;
  boxes.RemoveLast();
  boxes.RemoveLast();
  boxes.AddList(*result);
}

void CTestBox2::LinkAllPairs() {
  for (int i = 0; i < boxes.GetSize(); ++i) {
    for (int j = 0; j < boxes.GetSize(); ++j) boxes[i].AddNeighbour(&boxes[j]);
  }
}

void CTestBox2::DrawFrame() {
  quarn::BeginBenchDraw(*this, cursor);
  glLineWidth(3.0f);
  for (int i = 0; i < boxes.GetSize(); ++i) {
    quarn::SetColour(Palette(static_cast<unsigned>(i)));
    ::Draw(boxes[i]);
    DrawNeighbours(boxes[i]);
  }
  glLineWidth(1.0f);
  quarn::DrawPendingBox(pendingCorner, cursor, CColour(1, 1, 1));
  quarn::EndBenchDraw();
}
