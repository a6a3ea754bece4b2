#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "building/ccolour.h"
#include "building/cfloordesigner.h"
#include "building/cwall.h"
#include "building/designregions.h"
#include "geom/cbox2list.h"
#include "geom/cbox3.h"
#include "geom/clattice2.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

class CBuilding;
class CFloor;
class CFloorSpec;

// One room of a floor. outline is the room as designed, without collinear
// vertices (clockwise, grid units); wallOutline is the same loop plus the
// corners of neighbouring rooms that lie on its edges, so that a stretch of
// wall shared with a neighbour is one edge in both rooms. complete is false
// only for a room the step budget stopped while candidates were left.
// floor is a non-owning back reference.
class CRoom {
 public:
  // Stores a copy of outline with its splits removed (x, then y).
  CRoom(CFloor* floor, const CPolygon2& outline, bool complete);

  CPolygon2 GetWallOutline() const { return wallOutline; }
  bool IsComplete() const { return complete; }

  CFloor* floor;
  CPolygon2 outline;
  CPolygon2 wallOutline;
  bool complete;
};

// One storey of a building, generated in full by its constructor: the
// outline becomes one region of cells, the designer grows rooms in the
// pending regions while the building's step budget lasts, then every room
// edge becomes a wall (doors between rooms, windows outside) and every room
// gets its floor slabs (z -0.05 to 0.05).
//
// Invariants after construction: candidateBoxes and candidateScores have the
// same size; slabs has one list per room, in room order; every edge of every
// room's wallOutline is the edge of exactly one wall. The floor owns all of
// its lists by value. spec and building are used only while generating and
// are null in copies; a copy re-points its rooms' and walls' back references
// to itself.
class CFloor {
 public:
  explicit CFloor(CBuilding& building);
  CFloor(const CFloor& other);
  CFloor& operator=(const CFloor& other);

  static const CColour WALL_COLOUR;
  static const CColour SLAB_COLOUR;

  // Index of room in rooms, or TLIST_NO_INDEX when it is not one of them.
  int GetRoomIndex(const CRoom* room) const;
  // The index of every room by its address, for looking up many rooms.
  std::unordered_map<const CRoom*, int> GetRoomIndices() const;

  // Designer: grows one room in the largest pending region and puts the
  // rest of the region back as pending regions. Spends one budget step per
  // cell decision and writes the design trace.
  void DesignStep();
  // The target area of the next room, drawn from the design generator.
  std::uint32_t GetRoomTargetArea();
  // The cell a room starts from: the fewest and least surrounding neighbour
  // links, then the larger cell, then the earlier one. Null when empty.
  static CBox2* PickSeedBox(const CBox2PtrList& source);
  // The best scoring cell of source against destination (among equals the
  // latest in source), or null when source is empty. With record, the
  // non-zero scores become the candidate overlay and all scores are traced.
  CBox2* ChooseBestCandidate(CBox2PtrList source, const CBox2PtrList& destination, bool record);

  // Finishing passes: split every room's wallOutline at the other rooms'
  // corners, then build walls, slabs and openings.
  void InsertNeighbourSplits();
  void BuildWalls();

  TList<CRoom> rooms;
  TList<CLattice2> pendingRegions;
  CBox2List candidateBoxes;
  TList<float> candidateScores;
  TList<CWall> walls;
  TList<TList<CBox3>> slabs;
  const CFloorSpec* spec;
  CBuilding* building;

 private:
  using Region = quarn::DesignRegions::Region;

  void RepointBackReferences(const CFloor& source);
  // Sorts scores stably, records them when asked and returns the best box.
  CBox2* PickBestScore(std::vector<CBoxScore>& scores, bool record);
  // Takes cells of region into a new room, seed first, one budget step per
  // cell, until the room reaches target area, the budget or the region runs
  // out; marks them in isTaken. Returns the room's cells in the order taken.
  std::vector<int> GrowRoom(const Region& region, std::uint32_t target,
                            std::vector<bool>& isTaken);
  int BestFrontierCell(const std::vector<int>& frontier,
                       const std::vector<const CBox2*>& roomBoxes);
  static int LastFreeCell(const Region& region, const std::vector<bool>& isTaken);
  void RecordCandidates(const Region& region, const std::vector<bool>& isTaken,
                        const std::vector<const CBox2*>& roomBoxes);

  // The pending regions while the constructor designs; pendingRegions holds
  // them once it is done.
  std::optional<quarn::DesignRegions> design_;
};

// Palette colour index (9 and up count as 8) darkened to (2 + shade) / 7 of
// itself (shade 5 and up counts as 4), alpha included.
CColour PaletteShade(unsigned index, unsigned shade);
