#pragma once

#include <cstdint>
#include <string>

#include "building/cbuilding.h"
#include "geom/cpolygon2.h"

// The generation settings the view offers for every building, with one of
// them selected for change: room size (5 to 500 cells in steps of 5),
// variance (0, 10, 25, 50 or 100 cells), storeys (1 to 8), the seed (0 to
// 999) and the programme the finished buildings are typed by (house,
// office, none). The defaults are the design's own: 45, 0, 1 storey, seed
// 0; the programme starts at house, as quarn-gen's does.
class ViewSettings {
 public:
  enum Item { kRoomSize, kVariance, kStoreys, kSeed, kProgramme, kItemCount };

  static constexpr std::uint32_t kDefaultRoomSize = 45;
  static constexpr int kMaxSeed = 999;

  // The next or the previous item; the first and the last stay selected.
  void SelectNext();
  void SelectPrevious();
  void SelectFirst() { selected = kRoomSize; }
  Item GetSelected() const { return selected; }

  // Moves the selected setting one value up (direction > 0) or down; false
  // when it is already at that end.
  bool Change(int direction);
  // The next seed (999 is followed by 0); false, changing nothing, when the
  // variance is 0: then the seed decides nothing.
  bool Reroll();
  bool SeedMatters() const { return roomSizeVariance != 0; }
  // Whether the values that shape the design are its own (whatever is
  // selected; the programme only types finished buildings).
  bool HasDesignValues() const;

  // The CFloorSpec of a building with these settings.
  CFloorSpec SpecOf(const CPolygon2& outline) const;
  // "room size 45", "variance 0", "storeys 1", "seed 0 ...", "programme
  // house" for the block.
  std::string Line(Item item) const;

  std::uint32_t GetRoomSize() const { return roomSize; }
  std::uint32_t GetVariance() const { return roomSizeVariance; }
  std::uint32_t GetStoreys() const { return storeys; }
  int GetSeed() const { return seed; }
  // "house", "office" or "none".
  const char* GetProgramme() const;

  friend bool operator==(const ViewSettings&, const ViewSettings&) = default;

 private:
  std::uint32_t roomSize = kDefaultRoomSize;
  std::uint32_t roomSizeVariance = 0;
  std::uint32_t storeys = 1;
  int seed = 0;
  int programme = 0;  // index into the programme names
  Item selected = kRoomSize;
};
