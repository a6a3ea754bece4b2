#pragma once

#include <ostream>
#include <string>

#include "building/ccolour.h"
#include "building/cfloor.h"
#include "finish/finishedbuilding.h"
#include "programme/roomtype.h"
#include "tlist.h"

namespace quarn {

enum class PlanFormat { kSvg, kPdf, kPng };

// What the title line of every page names besides building and storey.
struct PlanTitle {
  std::string outlineFile;  // the outline file the buildings came from
  std::string steps;        // the step budget: "all" or a number
};

// Largest scale a PNG or SVG plan may be drawn at, in pixels per grid unit.
inline constexpr int kMaxPlanPxPerUnit = 200;

// Draws the floor plans of buildings (for each, its storeys lowest first) and
// writes them to out. A plan is the horizontal section of a storey at wall
// height 0.75 seen from above, north (+y) up: rooms filled in their design
// colour, cut wall pieces dark, doors as gaps with a quarter-circle swing
// into the wall's first room, windows as gaps bridged by two thin lines,
// every room labelled with its index (from 0, in design order, as the plan
// dump and the 3D export number rooms) and its area
// in grid cells; pending regions and the candidate overlay when the budget
// stopped the design. Every page has a title line and a scale bar in grid
// units.
//
// SVG and PNG: one page at pxPerUnit pixels per grid unit (1 to
// kMaxPlanPxPerUnit), one column per building side by side in order, its
// storeys top to bottom. PDF: one A4 page per storey of each building, the
// storey scaled to fit. Returns false and says why when the page would be
// too large for PNG, cairo fails, or out refuses the bytes.
//
// finished, when given, holds what finishing added to each building: the
// entrance is drawn as a door with an arrow pointing in, each stair as its
// treads with an arrow up the flight and "UP" on its lower storey and as the
// slab opening (outlined and crossed) on the upper one; a storey's caption
// says when it has no entrance or no stair up.
//
// typed, when given with finished, holds what the programme made of each
// building: rooms are filled in their type's colour and labelled with their
// name and area in m², closed doors drawn as solid wall, a caption under
// each building names its programme and every goal it misses, and a legend
// shows the types on the page.
bool WritePlan(const TList<TList<CFloor>>& buildings, const std::vector<FinishedBuilding>* finished,
               const PlanTitle& title, PlanFormat format, int pxPerUnit, std::ostream& out,
               std::string& problem, const std::vector<TypedBuilding>* typed = nullptr);

// The fill of room number index of a floor: its design colour (Palette, or
// grey while incomplete) lightened towards white so that labels read on it.
CColour PlanRoomFill(const CRoom& room, unsigned index);

}  // namespace quarn
