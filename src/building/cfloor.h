#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "building/ccolour.h"
#include "building/cboxscore.h"
#include "building/cfloordef.h"
#include "building/croom.h"
#include "building/cwall.h"
#include "building/designbudget.h"
#include "building/designobserver.h"
#include "building/designrandom.h"
#include "building/designregions.h"
#include "geom/cbox2list.h"
#include "geom/cbox3.h"
#include "geom/clattice2.h"
#include "geom/cpolygon2.h"
#include "tlist.h"

// One storey of a building, generated in full by its constructor: the
// outline becomes one region of cells, the designer grows rooms in the
// pending regions while the step budget lasts, then every room
// edge becomes a wall (doors between rooms, windows outside) and every room
// gets its floor slabs (z -0.05 to 0.05).
//
// Invariants after construction: candidateBoxes and candidateScores have the
// same size; slabs has one list per room, in room order; every edge of every
// room's wallOutline is the edge of exactly one wall. The floor owns all of
// its lists by value; a copy re-points its rooms' and walls' back references
// to itself. Everything a design changes besides the floor (the budget, the
// observer) is passed in, so floors can be designed on many threads at once.
class CFloor {
 public:
  // Designs storey (0 the lowest) of spec, spending steps of budget and
  // reporting each design step to observer. The budget and the observer are
  // used only while the constructor runs.
  CFloor(const CFloorSpec& spec, std::uint32_t storey, quarn::DesignBudget& budget,
         quarn::DesignObserver& observer);
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
  // cell decision and reports the step to the design's observer.
  void DesignStep();
  // The target area of the next room, drawn from the design generator.
  std::uint32_t GetRoomTargetArea();
  // The cell a room starts from: the fewest and least surrounding neighbour
  // links, then the larger cell, then the earlier one. Null when empty.
  static CBox2* PickSeedBox(const CBox2PtrList& source);
  // The best scoring cell of source against destination (among equals the
  // latest in source), or null when source is empty. With record, the
  // non-zero scores become the candidate overlay and all scores go to
  // observer.
  CBox2* ChooseBestCandidate(CBox2PtrList source, const CBox2PtrList& destination, bool record,
                             quarn::DesignObserver& observer);

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

 private:
  using Region = quarn::DesignRegions::Region;

  void RepointBackReferences(const CFloor& source);
  // Sorts scores stably, records them when asked and returns the best box.
  CBox2* PickBestScore(std::vector<CBoxScore>& scores, bool record,
                       quarn::DesignObserver& observer);
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

  // What the constructor designs with: the pending regions (pendingRegions
  // holds them once it is done), the generator of room sizes, and the
  // caller's spec, budget and observer.
  struct Design {
    const CFloorSpec& spec;
    quarn::DesignBudget& budget;
    quarn::DesignObserver& observer;
    quarn::DesignRandom random;
    quarn::DesignRegions regions;
  };
  std::optional<Design> design_;
};

// Palette colour index (9 and up count as 8) darkened to (2 + shade) / 7 of
// itself (shade 5 and up counts as 4), alpha included.
CColour PaletteShade(unsigned index, unsigned shade);
