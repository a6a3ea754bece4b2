#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "app/cmode.h"
#include "geom/cpoint2.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

// The outline editor: the user drags a cursor over a grid and places the
// vertices of closed rectilinear loops, one building per loop.
//
// `loops` is never empty: its last entry is the loop being drawn (open), all
// earlier entries are closed. A closed loop has an even number of vertices,
// at least 4, edges alternately vertical and horizontal (the first vertical),
// is clockwise (IsClockwise) and touches no edge of another loop. Positions
// are grid units, y up; one grid unit is 32 pixels of mouse drag and is drawn
// 12 pixels wide.
class CModeInput : public CMode {
 public:
  CModeInput();

  // Turns texturing and lighting off; clears the completion flag. The loops
  // stay as they were.
  void Enter() override;
  void Init() override;
  void Resize(int width, int height) override;
  void Draw(CBaseWindow& window) override;
  // Drag, SPACE (vertex or close), M (remove a vertex or re-open the last
  // closed loop), R (reset), X (complete), S and L (save and load the
  // outline file), U (undo). Refused input changes nothing and says nothing.
  void Update(const CMouseState& mouse, const CKeySet& keys) override;

  // One empty loop, cursor and drag at the origin.
  void Reset();
  const CPolygon2& GetCurrentLoop() const;
  bool IsComplete() const { return complete; }
  // The closed loops in the order they were closed.
  TList<CPolygon2> GetLoops() const;
  // True when the edge from the current loop's last vertex to the cursor
  // would touch or cross an edge of any loop. An edge that closes the loop
  // (ends on vertex 0) is refused too when the loop has fewer than 4 or an
  // odd number of vertices, since it would run back along the first edge.
  bool NewEdgeCrosses() const;
  CPoint2 GetCursor() const { return cursor; }
  // Every loop, the one being drawn last.
  const TList<CPolygon2>& GetAllLoops() const { return loops; }

  // The outline file: one loop a line in the polygon text form, the loop
  // being drawn last ("*" when empty).
  void WriteLoops(std::ostream& out) const;
  // Replaces the loops with those of in, or leaves everything untouched and
  // returns what is wrong with the input. Every line but the last must be a
  // valid closed outline or blank; the last is the loop being drawn, which
  // must be one the editor could have drawn, unless it is a valid closed
  // outline itself (so every outline file loads). Closed loops are taken
  // into the editor's form (clockwise, first edge vertical, no vertex in
  // the middle of a run) and must not touch each other.
  std::string ReadLoops(std::istream& in);
  // Writes the file whole or not at all (a failure keeps an earlier file
  // and leaves no temporary). Prints one line and returns false on failure.
  bool SaveLoops(const std::filesystem::path& file = kUserOutlineFile) const;
  // Loads the file with ReadLoops; a missing or invalid file leaves the
  // loops untouched and prints one line saying why.
  bool LoadLoops(const std::filesystem::path& file = kUserOutlineFile);

  // Loads file as L loads user.quarn, as one change U can undo.
  bool OpenFile(const std::filesystem::path& file);
  // Puts the loops, the cursor and the drag back as they were before the
  // last change to the loops (a vertex placed or removed, a loop closed or
  // re-opened, R, a loaded file); false when no change is left to undo.
  bool Undo();
  int GetUndoCount() const { return static_cast<int>(undoSteps.size()); }

  static inline const std::filesystem::path kUserOutlineFile = "user.quarn";

 private:
  struct EditState {
    TList<CPolygon2> loops;
    CPoint2 drag;
    CPoint2 cursor;
  };
  EditState GetEditState() const { return {loops, drag, cursor}; }
  // Keeps before as an undo step if the loops differ from its loops.
  void KeepForUndo(const EditState& before);
  // One line for the user: on standard output, and shown under the help.
  void Tell(const std::string& line) const;

  CPolygon2& CurrentLoop();
  void Drag(const CMouseState& mouse);
  void PlaceVertex();
  void RemoveVertex();
  void CompleteInput();
  bool CanAddCursor() const;
  std::string AcceptVertex(const CPoint2& vertex);
  std::string AddClosedLoop(const CPolygon2& outline);
  bool ClosingEdgeCrosses(const CEdge2& closing) const;
  bool EdgeTouchesLoops(const CEdge2& edge, int currentFirstEdge, int currentLastEdge) const;
  void MoveCursorToLastVertex();
  void DrawProposedEdge() const;

  TList<CPolygon2> loops;
  bool complete = false;
  CPoint2 drag{0, 0};
  CPoint2 cursor{0, 0};
  std::vector<EditState> undoSteps;
  mutable std::string toldLine;  // the last line told, shown until the next
};
