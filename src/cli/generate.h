#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "building/cbuilding.h"
#include "building/designobserver.h"
#include "export/scene.h"
#include "finish/finishedbuilding.h"
#include "geom/cpolygon2.h"
#include "furnish/furnish.h"
#include "nav/reachability.h"
#include "programme/programme.h"
#include "tlist.h"

namespace quarn {

// Reads and checks the outline file at path into loops; on bad input returns
// one line saying what is wrong, naming the file and line.
std::optional<std::string> ReadOutlineLoops(const std::string& path, TList<CPolygon2>& loops);

// What every building of one run is generated with; the defaults are those
// the view uses when input is completed.
struct GenerationSettings {
  std::uint32_t steps = STEP_BUDGET_UNLIMITED;
  std::uint32_t storeys = DesignSettings{}.storeys;
  std::uint32_t roomSizeVariance = DesignSettings{}.roomSizeVariance;
  std::uint32_t roomSize = DesignSettings{}.roomSize;
  // How the buildings are finished; none: the design alone.
  std::optional<FinishSettings> finish = FinishSettings{};
  int seed = DesignSettings{}.seed;  // added to every storey's seed (CFloorSpec::seed)
  // The room programme the finished buildings are typed by; none: untyped
  // (plan dump version 2). Only with finish.
  std::optional<Programme> programme = std::nullopt;
  float unit = 1.0f;  // metres per grid unit, for the programme's sizes
  // The furniture sets the typed rooms are furnished with; none: rooms stay
  // empty (and the dump has no furniture keys). Only with programme.
  std::optional<FurnitureSets> furniture = GetDefaultFurnitureSets();
  // What the navigation of typed buildings (plan dump version 3) measures
  // with: metres per storey and the walker.
  float storeyHeight = kFinishedStoreyHeight;
  NavAgent agent = {};
};

// Turns every loop, in order, into one building exactly as the view does:
// CFloorSpec(loop, storeys, roomSizeVariance, roomSize) with its seed, then
// CBuilding(spec, steps), and hands each to addBuilding. Every design step
// of the run is reported to observer. beforeBuilding, when set, is called
// with each loop's index first.
void GenerateBuildings(const TList<CPolygon2>& loops, const GenerationSettings& settings,
                       DesignObserver& observer,
                       const std::function<void(const CBuilding&)>& addBuilding,
                       const std::function<void(int)>& beforeBuilding = {});

// GenerateBuildings writing the plan dump of all of them to dump: version 3
// of the typed (and furnished) buildings, version 2 of the finished ones, or version 1 of
// the design alone. Returns what the finished buildings lack, the goals
// of the programme they miss and the rooms the navigation of typed
// buildings cannot reach (see MissingNotes, UnmetNotes, UnreachableNotes).
std::vector<std::string> GeneratePlans(const TList<CPolygon2>& loops,
                                       const GenerationSettings& settings, std::ostream& dump,
                                       DesignObserver& observer,
                                       const std::function<void(int)>& beforeBuilding = {});

// The same run, keeping every building's storeys (lowest first) in loop
// order instead of dumping them.
TList<TList<CFloor>> GenerateFloors(const TList<CPolygon2>& loops,
                                    const GenerationSettings& settings, DesignObserver& observer,
                                    const std::function<void(int)>& beforeBuilding = {});

// One line for every entrance or stair a finished building lacks, naming the
// building: "building 0: no entrance: ...".
std::vector<std::string> MissingNotes(int building, const FinishedBuilding& finished);

// Navigates every finished building (see NavigateBuilding), with the
// closed doors of typed and the furniture of furnished when given.
std::vector<NavBuilding> NavigateBuildings(const TList<TList<CFloor>>& buildings,
                                           const std::vector<FinishedBuilding>& finished,
                                           const std::vector<TypedBuilding>* typed,
                                           const std::vector<FurnishedBuilding>* furnished, const NavScale& scale,
                                           const NavAgent& agent);

// One line for every room of a building that cannot be reached, naming the
// building: "building 0: room 7 on storey 1 unreachable: ...".
std::vector<std::string> UnreachableNotes(int building, const NavBuilding& nav);

// One line for every goal of the programme a typed building misses:
// "building 0: house programme: kitchen: at least 1 ...".
std::vector<std::string> UnmetNotes(int building, const TypedBuilding& typed);

// One line for every piece of a furnished building's sets that found no
// place: "building 0: no bed in Bedroom 2 (room 4, storey 0): ...".
std::vector<std::string> UnfurnishedNotes(int building, const FurnishedBuilding& furnished);

// FurnishBuilding of every typed building in order, or none without a
// programme or without furniture.
std::optional<std::vector<FurnishedBuilding>> FurnishBuildings(
    const TList<TList<CFloor>>& buildings, const std::vector<FinishedBuilding>& finished,
    const std::optional<std::vector<TypedBuilding>>& typed, const GenerationSettings& settings);

// ApplyProgramme of every building in order, or none without a programme.
std::optional<std::vector<TypedBuilding>> TypeBuildings(const TList<TList<CFloor>>& buildings,
                                                        const std::vector<FinishedBuilding>& finished,
                                                        const GenerationSettings& settings);

}  // namespace quarn
