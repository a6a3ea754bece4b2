#pragma once

#include <iostream>
#include <optional>
#include <ostream>

#include "app/cbenchmode.h"
#include "geom/cbox2list.h"
#include "geom/cpoint2.h"

// Developer bench for single boxes: boxes are placed corner by corner at a
// cursor dragged over the grid, then combined, linked and printed by keys.
// The main window owns it but never makes it current.
//
// drag is in pixels, cursor in grid units (drag / 32). Its help text and
// printed results go to the stream given at construction.
class CTestBox2 : public CBenchMode {
 public:
  explicit CTestBox2(std::ostream& out = std::cout);

  // Replaces the bench by a new one, then prints the help text.
  void Enter() override;
  // Nothing to set up.
  void Init() override;
  // Keys, in this order: SPACE place a corner, S replace the last box, M
  // remove it, R reset the boxes, O print, U/D/I combine the last two boxes,
  // N link every pair.
  void Update(const CMouseState& mouse, const CKeySet& keys) override;

  void DrawFrame() override;

  const CBox2List& GetBoxes() const { return boxes; }
  const std::optional<CPoint2>& GetPendingCorner() const { return pendingCorner; }

 private:
  void ReplaceLastBox();
  void PrintOutput() const;
  // Replaces the last two boxes by the result of the first of U, D, I pressed.
  void CombineLastTwo(const CKeySet& keys);
  void LinkAllPairs();

  CBox2List boxes;
  std::optional<CPoint2> pendingCorner;
};
