#pragma once

// The plan and 3D writers of quarn-gen. They live in a module beside the
// executable, loaded only when an output needs them: the 3D, drawing and
// image libraries they bring cost a run more time to load than generating a
// small building takes, so a plan dump never loads them.

#include <ostream>
#include <string>
#include <vector>

#include "building/cfloor.h"
#include "export/plandrawing.h"
#include "export/scene.h"
#include "export/sceneexport.h"
#include "finish/finishedbuilding.h"
#include "programme/roomtype.h"
#include "tlist.h"

namespace quarn {

// WritePlan and ExportBuildings, as the module gives them, with the build
// they were made in: a module of another build may not share the layout of
// the buildings it is given, so it is refused. finished, when given, holds
// what finishing added to each building, typed what the programme made of
// it.
struct OutputWriters {
  const char* build;
  bool (*writePlan)(const TList<TList<CFloor>>& buildings,
                    const std::vector<FinishedBuilding>* finished, const PlanTitle& title,
                    PlanFormat format, int pxPerUnit, std::ostream& out, std::string& problem,
                    const std::vector<TypedBuilding>* typed);
  bool (*exportBuildings)(const TList<TList<CFloor>>& buildings,
                          const std::vector<FinishedBuilding>* finished,
                          const SceneSettings& settings, ExportFormat format,
                          const std::string& path, std::string& problem,
                          const std::vector<std::string>& keep,
                          const std::vector<TypedBuilding>* typed);
};

// The module's file name and the name of its one entry, which returns its
// writers.
inline constexpr const char* kWritersModule = "quarn-gen-writers.so";
inline constexpr const char* kWritersEntry = "quarn_output_writers";
using WritersEntry = const OutputWriters* (*)();
// Names the build tree's configuration; the executable and the module are
// compiled with the same.
inline constexpr const char* kWritersBuild = QUARN_WRITERS_BUILD;

// Loads the module from the folder of the running executable (once; later
// calls return the same writers). Null, with problem saying why, when it
// cannot be loaded.
const OutputWriters* LoadOutputWriters(std::string& problem);

}  // namespace quarn
