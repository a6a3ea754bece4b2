#include "generate.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "building/cbuilding.h"
#include "geom/outlinecheck.h"
#include "export/plandump.h"

namespace quarn {
std::optional<std::string> ReadOutlineLoops(const std::string& path, TList<CPolygon2>& loops) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return "cannot read '" + path + "': a directory";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot open '" + path + "': " + std::strerror(errno);
  const OutlineFile file = ReadOutlineFile(in);
  if (!file.IsValid()) {
    const std::string where =
        file.problemLine > 0 ? path + ":" + std::to_string(file.problemLine) : path;
    return where + ": " + file.problem;
  }
  loops = file.loops;
  return std::nullopt;
}

void GenerateBuildings(const TList<CPolygon2>& loops, const GenerationSettings& settings,
                       DesignObserver& observer,
                       const std::function<void(const CBuilding&)>& addBuilding,
                       const std::function<void(int)>& beforeBuilding) {
  for (int i = 0; i < loops.GetSize(); ++i) {
    if (beforeBuilding) beforeBuilding(i);
    const CFloorSpec spec = SpecOf(
        loops[i], {settings.roomSize, settings.roomSizeVariance, settings.storeys, settings.seed});
    addBuilding(CBuilding(spec, settings.steps, observer));
  }
}

std::vector<std::string> GeneratePlans(const TList<CPolygon2>& loops,
                                       const GenerationSettings& settings, std::ostream& dump,
                                       DesignObserver& observer,
                                       const std::function<void(int)>& beforeBuilding) {
  const int version = !settings.finish ? 1 : settings.programme ? 3 : 2;
  PlanDump plan(dump, settings.steps, version);
  std::vector<std::string> notes;
  int index = 0;
  GenerateBuildings(
      loops, settings, observer,
      [&](const CBuilding& building) {
        if (!settings.finish) {
          plan.AddBuilding(building);
          return;
        }
        const FinishedBuilding finished = FinishBuilding(building.floors, *settings.finish);
        std::optional<TypedBuilding> typed;
        if (settings.programme) {
          typed = ApplyProgramme(building.floors, finished, *settings.programme, settings.unit);
        }
        std::optional<FurnishedBuilding> furnished;
        if (typed && settings.furniture) {
          furnished = FurnishBuilding(building.floors, finished, *typed, settings.unit, *settings.furniture);
        }
        std::optional<NavBuilding> nav;
        if (typed) {
          nav = NavigateBuilding(building.floors, finished, &*typed, furnished ? &*furnished : nullptr,
                                 {settings.unit, settings.storeyHeight}, settings.agent);
        }
        plan.AddBuilding(building, &finished, typed ? &*typed : nullptr, furnished ? &*furnished : nullptr,
                         nav ? &*nav : nullptr);
        for (std::string& note : MissingNotes(index, finished)) notes.push_back(std::move(note));
        if (typed) {
          for (std::string& note : UnmetNotes(index, *typed)) notes.push_back(std::move(note));
          for (std::string& note : UnreachableNotes(index, *nav)) notes.push_back(std::move(note));
        }
        if (furnished) {
          for (std::string& note : UnfurnishedNotes(index, *furnished)) notes.push_back(std::move(note));
        }
        ++index;
      },
      beforeBuilding);
  plan.Finish();
  return notes;
}

std::vector<std::string> MissingNotes(int building, const FinishedBuilding& finished) {
  std::vector<std::string> notes;
  for (const std::string& missing : finished.GetMissing()) {
    notes.push_back("building " + std::to_string(building) + ": " + missing);
  }
  return notes;
}

std::vector<NavBuilding> NavigateBuildings(const TList<TList<CFloor>>& buildings,
                                           const std::vector<FinishedBuilding>& finished,
                                           const std::vector<TypedBuilding>* typed,
                                           const std::vector<FurnishedBuilding>* furnished, const NavScale& scale,
                                           const NavAgent& agent) {
  std::vector<NavBuilding> navs;
  for (int b = 0; b < buildings.GetSize() && static_cast<std::size_t>(b) < finished.size(); ++b) {
    const auto i = static_cast<std::size_t>(b);
    navs.push_back(NavigateBuilding(buildings[b], finished[i], typed && i < typed->size() ? &(*typed)[i] : nullptr,
                                    furnished && i < furnished->size() ? &(*furnished)[i] : nullptr, scale, agent));
  }
  return navs;
}

std::vector<std::string> UnreachableNotes(int building, const NavBuilding& nav) {
  std::vector<std::string> notes;
  for (const std::string& phrase : nav.unreachable) {
    notes.push_back("building " + std::to_string(building) + ": " + phrase);
  }
  return notes;
}

std::vector<std::string> UnmetNotes(int building, const TypedBuilding& typed) {
  std::vector<std::string> notes;
  for (const std::string& unmet : typed.unmet) {
    notes.push_back("building " + std::to_string(building) + ": " + typed.programme +
                    " programme: " + unmet);
  }
  return notes;
}

std::vector<std::string> UnfurnishedNotes(int building, const FurnishedBuilding& furnished) {
  std::vector<std::string> notes;
  for (const std::string& missing : furnished.unfurnished) {
    notes.push_back("building " + std::to_string(building) + ": " + missing);
  }
  return notes;
}

std::optional<std::vector<FurnishedBuilding>> FurnishBuildings(
    const TList<TList<CFloor>>& buildings, const std::vector<FinishedBuilding>& finished,
    const std::optional<std::vector<TypedBuilding>>& typed, const GenerationSettings& settings) {
  if (!typed || !settings.furniture) return std::nullopt;
  std::vector<FurnishedBuilding> furnished;
  for (std::size_t b = 0; b < typed->size() && b < finished.size(); ++b) {
    furnished.push_back(FurnishBuilding(buildings[static_cast<int>(b)], finished[b], (*typed)[b], settings.unit,
                                        *settings.furniture));
  }
  return furnished;
}

std::optional<std::vector<TypedBuilding>> TypeBuildings(const TList<TList<CFloor>>& buildings,
                                                        const std::vector<FinishedBuilding>& finished,
                                                        const GenerationSettings& settings) {
  if (!settings.programme) return std::nullopt;
  std::vector<TypedBuilding> typed;
  for (int b = 0; b < buildings.GetSize() && static_cast<std::size_t>(b) < finished.size(); ++b) {
    typed.push_back(ApplyProgramme(buildings[b], finished[static_cast<std::size_t>(b)],
                                   *settings.programme, settings.unit));
  }
  return typed;
}

TList<TList<CFloor>> GenerateFloors(const TList<CPolygon2>& loops,
                                    const GenerationSettings& settings, DesignObserver& observer,
                                    const std::function<void(int)>& beforeBuilding) {
  TList<TList<CFloor>> floors;
  GenerateBuildings(
      loops, settings, observer, [&floors](const CBuilding& building) { floors.Add(building.floors); },
      beforeBuilding);
  return floors;
}

}  // namespace quarn
