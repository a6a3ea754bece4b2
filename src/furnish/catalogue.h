#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "geom/cbox3.h"
#include "geom/side.h"
#include "programme/roomtype.h"
#include "tlist.h"

namespace quarn {

// How a piece stands in its room: back against a wall (used from the side
// opposite the wall), free on the floor (used from any one side), or as a
// bed: head against a wall, used from one long side.
enum class Placement { kAgainstWall, kFree, kBed };

// Where a piece likes to stand among the places it fits: far from the
// room's doors, near the middle of the room, or near the first piece of the
// room (the bedside table by the bed, the fridge by the counter).
enum class Preference { kFarFromDoors, kNearCentre, kNearFirst };

// Which chairs come with a table: none, on every side not against a wall
// (dining and meeting tables), or one at its front (desks).
enum class Chairs { kNone, kFreeSides, kFront };

// One piece of furniture as it is made: name ("double bed") and kind
// ("bed"); width across its front, depth from its back to its front and
// height, in metres.
struct PieceModel {
  std::string_view name;
  std::string_view kind;
  float width = 1;
  float depth = 1;
  float height = 1;
  Placement placement = Placement::kAgainstWall;
  Preference preference = Preference::kFarFromDoors;
  Chairs chairs = Chairs::kNone;
};

// Pieces taller than this (metres) must not stand in front of a window.
inline constexpr float kTallPieceHeight = 1.0f;
// The free strip a person uses a piece from, and the width of a person
// walking between doors (metres).
inline constexpr float kAccessDepth = 0.5f;
inline constexpr float kPersonWidth = 0.6f;
// How far into a room a window's view reaches (metres): tall pieces keep out
// of this strip in front of it.
inline constexpr float kWindowClearDepth = 1.0f;
// A storey's height in metres: heights in metres become z in the storey
// frame by this, whatever the plan's metres per grid unit.
inline constexpr float kStoreyMetres = 3.0f;

// Every model, in a fixed order; the model named name, or none.
std::span<const PieceModel> GetPieceModels();
std::optional<PieceModel> FindPieceModel(std::string_view name);

// The boxes a model is drawn and exported as, laid on footprint {x0, y0,
// x1, y1} (grid units) with its back toward side back (the side opposite
// its front for all but beds, whose back is the head), z in the storey
// frame. Low-poly: one box for each recognisable part.
TList<CBox3> BuildPieceBoxes(const PieceModel& model, const std::vector<float>& footprint, Side back);

// One entry of a room type's set: the models tried in order (the first that
// fits is placed), whether the room must get it (else it is left out
// silently when nothing fits), and how many copies; count 0 asks for one
// copy per 10 m² of floor, at least one (the desks of an office). Only the
// first copy of a must-place entry is a must.
struct FurnitureItem {
  std::vector<std::string> models;
  bool must = true;
  int count = 1;
};

// The set of every room type, indexed by RoomType.
using FurnitureSets = std::array<std::vector<FurnitureItem>, kRoomTypeCount>;

// The sets a room gets when the programme names none: bedroom bed, wardrobe
// (bedside table); living sofa, low table (media unit); dining table with
// chairs; kitchen counter, fridge (table); bathroom toilet, basin, bath or
// shower; wc toilet, basin; study desk with chair (shelf); storage and
// utility shelf; hall (bench or coat rack); office desks with chairs;
// meeting table with chairs; reception desk; kitchenette counter. Entries in
// brackets are optional.
FurnitureSets GetDefaultFurnitureSets();

}  // namespace quarn
