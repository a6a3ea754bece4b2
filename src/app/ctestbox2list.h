#pragma once

#include <cstdint>
#include <iostream>
#include <optional>
#include <ostream>

#include "app/cbenchmode.h"
#include "geom/cbox2list.h"
#include "geom/cpoint2.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

// Developer bench for box lists: boxes are placed corner by corner into the
// last of several lists; keys combine the last two lists, run the box-list
// operations on list 0 against the box being placed, pass list 0 through a
// lattice and turn it into outlines. The main window owns it but never makes
// it current.
//
// lists is never empty. polyBoxes is the merge limit of the outlines (Q one
// less, down to 1; W one more). Results go to the stream given at
// construction.
class CTestBox2List : public CBenchMode {
 public:
  explicit CTestBox2List(std::ostream& out = std::cout);

  // Resets the bench, then prints the help text.
  void Enter() override;
  // Nothing to set up.
  void Init() override;
  // Keys, in this order: SPACE place a corner, Z new list, N link, R reset,
  // M remove the last box, O print, U/D/I combine the last two lists, the
  // operations 1 3 4 5 7 8 9 0 E T on list 0, L lattice, Q/W outlines.
  void Update(const CMouseState& mouse, const CKeySet& keys) override;

  void DrawFrame() override;

  const TList<CBox2List>& GetLists() const { return lists; }
  const std::optional<CPoint2>& GetPendingCorner() const { return pendingCorner; }
  const TList<CPolygon2>& GetPolygons() const { return polygons; }
  std::int32_t GetPolyBoxes() const { return polyBoxes; }

 private:
  void Reset();
  void PrintOutput() const;
  void CombineLastTwo(const CKeySet& keys);
  // The operations on list 0, each printing one line.
  void RunListOperations(const CKeySet& keys);
  void SplitIntoPieces();
  void PassThroughLattice();
  void ConvertToPolygons(const CKeySet& keys);

  TList<CBox2List> lists;
  std::optional<CPoint2> pendingCorner;
  TList<CPolygon2> polygons;
  std::int32_t polyBoxes = 0;
};
