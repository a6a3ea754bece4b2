#pragma once

#include <iostream>
#include <optional>
#include <ostream>

#include "app/cbenchmode.h"
#include "geom/cbox2list.h"
#include "geom/cpoint2.h"
#include "tlist.h"

// Developer bench for the floor designer's candidate score: boxes are placed
// into up to three lists (0 the room so far, 1 other cells, 2 ending with the
// candidate), and O prints the score of the last box of list 2 against the
// boxes of list 0. The main window owns it but never makes it current.
//
// lists is never empty and holds at most three lists. Results go to the
// stream given at construction.
class CTestBox2ListScore : public CBenchMode {
 public:
  explicit CTestBox2ListScore(std::ostream& out = std::cout);

  // Resets the bench, then prints the help text.
  void Enter() override;
  // Resets the bench.
  void Init() override;
  // Keys, in this order: SPACE place a corner, Z new list (up to three), M
  // remove the last box, R reset, O print the score, L slice every list.
  void Update(const CMouseState& mouse, const CKeySet& keys) override;

  void DrawFrame() override;

  const TList<CBox2List>& GetLists() const { return lists; }
  const std::optional<CPoint2>& GetPendingCorner() const { return pendingCorner; }

 private:
  void Reset();
  void PrintScore() const;

  std::optional<CPoint2> pendingCorner;
  TList<CBox2List> lists;
};
