#include "app/ctestbox2list.h"

#include "app/benchcommon.h"
#include "app/benchdrawing.h"
#include "building/ccolour.h"
#include "geom/clattice2.h"
#include "render/cbox2draw.h"
#include "render/cpolygon2draw.h"

namespace {

constexpr const char* kHelp[] = {
    "\n======== 2D BOX LIST TESTING MODE ========\n\n",
    "  [SPACE] = place the corner of a rectangle\n",
    "  [Z] = start a new boxlist\n",
    "  [R] = reset all\n",
    "  [O] = output some info\n",
    "  [U],[D],[I] = csg operations\n",
    "  [M] = remove last box\n",
    "  [N] = set neighbours\n",
    "  [1]->[0],[E],[T] = the dirty dozen\n",
    "  [L] = pass through lattice\n",
    "  [P] = convert to poly via lattice\n",
    "\n==========================================\n\n",
};

bool IsSinglePiece(const CBox2List& list) { return list.CountPieces() < 2; }

}  // namespace

CTestBox2List::CTestBox2List(std::ostream& output) : CBenchMode(output) { Reset(); }

void CTestBox2List::Reset() {
  quarn::ResetLists(lists);
  pendingCorner.reset();
  polygons.Clear();
  polyBoxes = 0;
}

void CTestBox2List::Enter() {
  Reset();
  PrintHelp(kHelp);
}

void CTestBox2List::Init() {}

void CTestBox2List::Update(const CMouseState& mouse, const CKeySet& keys) {
  quarn::FollowPointer(mouse, drag, cursor);
  if (keys.WasPressed(' ')) quarn::PlaceCorner(pendingCorner, cursor, lists[lists.GetSize() - 1]);
  if (keys.WasPressed('Z')) lists.Add(CBox2List());
  if (keys.WasPressed('N')) {
    for (int i = 0; i < lists.GetSize(); ++i) lists[i].SetNeighbours();
  }
  if (keys.WasPressed('R')) Reset();
  if (keys.WasPressed('M')) quarn::RemoveLastBox(lists);
  if (keys.WasPressed('O')) PrintOutput();
  if (lists.GetSize() > 1) CombineLastTwo(keys);
  RunListOperations(keys);
  if (keys.WasPressed('L')) PassThroughLattice();
  ConvertToPolygons(keys);
}

void CTestBox2List::PrintOutput() const {
  *out << "\n-------- OUTPUT --------\n\n";
  for (int i = 0; i < lists.GetSize(); ++i) {
    *out << i << '\n';
    lists[i].Print(*out);
    *out << '\n';
  }
  *out << "total box count = " << quarn::CountBoxes(lists) << '\n';
  if (polygons.GetSize() > 0) *out << "total poly vertices = " << polygons[0].GetSize() << '\n';
  out->flush();
}

void CTestBox2List::CombineLastTwo(const CKeySet& keys) {
  const int last = lists.GetSize() - 1;
  const std::optional<CBox2List> result = quarn::CombineByKey(lists[last - 1], lists[last], keys);
  if (!result) return;
  lists.RemoveLast();
  lists.RemoveLast();
  lists.Add(*result);
}

void CTestBox2List::RunListOperations(const CKeySet& keys) {
  const std::optional<CBox2> placed = quarn::GetPendingBox(pendingCorner, cursor);
  std::ostream& o = *out;
  const auto total = [this] { return quarn::CountBoxes(lists); };
  if (keys.WasPressed('1') && placed) {
    o << "1 :: Overlaps() = " << int{lists[0].Overlaps(*placed)} << '\n';
  }
  if (keys.WasPressed('3')) o << "3 :: OverlapsSelf() = " << int{lists[0].OverlapsSelf()} << '\n';
  if (keys.WasPressed('4')) {
    lists[0].FixAllOverlaps();
    o << "4 :: FixAllOverlaps()"
      << "\tnew size = " << total() << '\n';
  }
  if (keys.WasPressed('5') && placed) {
    o << "5 :: IsPartialNeighbourOf() = " << int{lists[0].IsPartialNeighbourOf(*placed)} << '\n';
  }
  if (keys.WasPressed('7')) o << "7 :: CountPieces() = " << lists[0].CountPieces() << '\n';
  if (keys.WasPressed('8')) {
    SplitIntoPieces();
    o << "8 :: GetSeperatePieces()" << '\n';
  }
  if (keys.WasPressed('9') && placed) {
    o << "9 :: IsSlicedBy() = " << int{lists[0].IsSlicedBy(*placed)} << '\n';
  }
  if (keys.WasPressed('0') && placed) {
    lists[0].SliceBy(*placed);
    o << "10 :: SliceBy()"
      << "\tnew size = " << total() << '\n';
  }
  if (keys.WasPressed('E')) o << "11 :: SlicesSelf() = " << int{lists[0].SlicesSelf()} << '\n';
  if (keys.WasPressed('T')) {
    lists[0].Slice();
    o << "12 :: Slice()"
      << "\tnew size = " << total() << '\n';
  }
  o.flush();
}

void CTestBox2List::SplitIntoPieces() {
  lists.AddList(lists[0].GetSeperatePieces());
  lists.RemoveAt(0);
  // An empty list 0 has no pieces; the last list must stay to place boxes in.
  if (lists.GetSize() == 0) lists.Add(CBox2List());
}

void CTestBox2List::PassThroughLattice() {
  if (!IsSinglePiece(lists[0])) return;
  const CLattice2 lattice(lists[0]);
  lists[0] = lattice.GetBoxList();
}

void CTestBox2List::ConvertToPolygons(const CKeySet& keys) {
  if (!IsSinglePiece(lists[0])) return;
  const bool fewer = keys.WasPressed('Q');
  const bool more = keys.WasPressed('W');
  if (fewer && polyBoxes > 1) --polyBoxes;
  if (more) ++polyBoxes;
  if (!fewer && !more) return;
  const CLattice2 lattice(lists[0]);
  polygons = lattice.GetAsPolygons(static_cast<unsigned>(polyBoxes));
  *out << "_polyboxes = " << polyBoxes << '\n';
  out->flush();
}

void CTestBox2List::DrawFrame() {
  quarn::BeginBenchDraw(*this, cursor);
  for (int i = 0; i < lists.GetSize(); ++i) {
    quarn::SetColour(Palette(static_cast<unsigned>(i)));
    ::Draw(lists[i], 1);
    DrawNeighbours(lists[i]);
  }
  const CColour polygonColours[] = {CColour(1.0f, 1.0f, 0.5f), CColour(1.0f, 0.5f, 1.0f)};
  for (int i = 0; i < polygons.GetSize() && i < 2; ++i) {
    quarn::SetColour(polygonColours[i]);
    ::Draw(polygons[i], 3, 5, 1, true);
  }
  quarn::DrawPendingBox(pendingCorner, cursor, Palette(static_cast<unsigned>(lists.GetSize() - 1)));
  quarn::EndBenchDraw();
}
