// The C interface over the generator, the plan dump and the writers. Every
// entry runs under CallGuard: no exception, failed internal check or lack of
// memory leaves it other than as a status and a message.

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <future>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "building/cbuilding.h"
#include "callguard.h"
#include "export/gltfwriter.h"
#include "export/plandrawing.h"
#include "export/scene.h"
#include "export/sceneexport.h"
#include "finish/finishedbuilding.h"
#include "furnish/furnish.h"
#include "geom/outlinecheck.h"
#include "io/atomicfile.h"
#include "export/plandump.h"
#include "nav/reachability.h"
#include "programme/json/programmejson.h"
#include "programme/programme.h"
#include "quarn/quarn.h"

#define QUARN_TEXT_OF(number) #number
#define QUARN_TEXT(number) QUARN_TEXT_OF(number)
static_assert(std::string_view(QUARN_VERSION_STRING) ==
              QUARN_TEXT(QUARN_VERSION_MAJOR) "." QUARN_TEXT(QUARN_VERSION_MINOR) "." QUARN_TEXT(
                  QUARN_VERSION_PATCH));
static_assert(QUARN_COORDINATE_LIMIT == quarn::kOutlineCoordinateLimit);
static_assert(QUARN_CELL_LIMIT == quarn::kOutlineCellLimit);
static_assert(QUARN_SIDE_WEST == SideLeft && QUARN_SIDE_EAST == SideRight &&
              QUARN_SIDE_SOUTH == SideDown && QUARN_SIDE_NORTH == SideUp);
static_assert(quarn::kRoomTypeCount == QUARN_ROOM_KITCHENETTE + 1);
static_assert(QUARN_SETTINGS_SIZE_V1 == offsetof(quarn_settings, finished) + sizeof(int32_t));

// The kinds of quarn_notes.
constexpr std::size_t kNoteKinds = QUARN_NOTES_UNREACHABLE + 1;

struct quarn_design {
  std::vector<CBuilding> buildings;
  std::uint32_t steps = QUARN_STEPS_ALL;
  // One per building when the outputs are finished; none for the design alone.
  std::optional<std::vector<quarn::FinishedBuilding>> finished;
  // One per building for the layers the settings asked for.
  std::optional<std::vector<quarn::TypedBuilding>> typed;
  std::optional<std::vector<quarn::FurnishedBuilding>> furnished;
  std::optional<std::vector<quarn::NavBuilding>> navigation;
  // Per building, its notes of every quarn_notes kind.
  std::vector<std::array<std::vector<std::string>, kNoteKinds>> notes;
  quarn::SceneSettings scene;
  // Reads as well as writes report their failures, so both are mutable.
  mutable std::mutex mutex;
  mutable std::string error;
};

namespace {

constexpr std::uint32_t kMaxStoreys = 1000;
// The title the drawn plans give the buildings' source.
constexpr const char* kPlanSource = "quarn";
// Bounds of the metre settings: every coordinate of an outline stays a
// normal, finite float in the scene.
constexpr float kMinMetres = 1e-6f, kMaxMetres = 1e6f;
// The sizes quarn_settings has had, oldest first.
constexpr std::size_t kSettingsSizes[] = {QUARN_SETTINGS_SIZE_V1, sizeof(quarn_settings)};
// The wait between two progress reports: well inside the 50 ms the header
// promises.
constexpr std::chrono::milliseconds kProgressInterval{20};

quarn_status Fail(const quarn_design& design, quarn_status status, std::string message) {
  design.error = std::move(message);
  return status;
}

// Runs body on the locked handle with its message cleared (see RunGuarded);
// onFailure runs, still locked, when it fails.
template <class Body, class OnFailure>
quarn_status GuardedCall(const quarn_design* design, Body body, OnFailure onFailure) {
  if (design == nullptr) return QUARN_ERROR_NULL;
  std::unique_lock<std::mutex> lock(design->mutex, std::defer_lock);
  try {
    lock.lock();
  } catch (...) {
    return QUARN_ERROR_INTERNAL;  // no lock, so no message either
  }
  design->error.clear();
  const quarn_status status = quarn::capi::RunGuarded(body, design->error);
  if (status != QUARN_OK) onFailure();
  return status;
}

template <class Body>
quarn_status Guarded(const quarn_design* design, Body body) {
  return GuardedCall(design, body, [] {});
}

void Clear(quarn_design& design);

// Guarded for a generation: whatever ends it other than success leaves the
// handle with no buildings.
template <class Body>
quarn_status GuardedGeneration(quarn_design* design, Body body) {
  return GuardedCall(design, body, [&] { Clear(*design); });
}

TList<TList<CFloor>> Floors(const quarn_design& design) {
  TList<TList<CFloor>> floors;
  for (const CBuilding& building : design.buildings) floors.Add(building.floors);
  return floors;
}

// A layer of every building, or null when the generation has none.
template <class T>
const std::vector<T>* Layer(const std::optional<std::vector<T>>& layer) {
  return layer ? &*layer : nullptr;
}

const std::vector<quarn::FinishedBuilding>* Finished(const quarn_design& design) {
  return Layer(design.finished);
}

// The caller's settings over the defaults: the fields its size holds.
std::optional<quarn_settings> ReadSettings(const quarn_settings* given, std::string& problem) {
  quarn_settings settings = quarn_default_settings();
  if (given == nullptr) return settings;
  const std::size_t* const end = std::end(kSettingsSizes);
  if (std::find(std::begin(kSettingsSizes), end, given->size) == end) {
    problem = "settings size " + std::to_string(given->size) +
              " is none this library knows: fill the settings with quarn_init_settings";
    return std::nullopt;
  }
  std::memcpy(&settings, given, given->size);
  return settings;
}

bool IsMetres(float metres) { return metres >= kMinMetres && metres <= kMaxMetres; }

// The first setting out of range, or nothing.
std::optional<std::string> CheckSettings(const quarn_settings& settings) {
  if (settings.storeys < 1 || settings.storeys > kMaxStoreys) {
    return "storeys must be from 1 to " + std::to_string(kMaxStoreys) + ", not " +
           std::to_string(settings.storeys);
  }
  if (settings.entrance_side < QUARN_SIDE_WEST || settings.entrance_side > QUARN_SIDE_NORTH) {
    return "entrance_side must be a quarn_side, not " + std::to_string(settings.entrance_side);
  }
  if (!IsMetres(settings.unit)) return "unit must be metres from 0.000001 to 1000000";
  if (settings.storey_height != 0 && !IsMetres(settings.storey_height)) {
    return "storey_height must be 0 or metres from 0.000001 to 1000000";
  }
  if (settings.furniture != 0 && settings.furniture != 1) return "furniture must be 0 or 1";
  if (settings.navigation != 0 && settings.navigation != 1) return "navigation must be 0 or 1";
  if (settings.finished == 0 && (settings.programme != nullptr || settings.navigation != 0)) {
    return "a programme and navigation need finished buildings (finished 1)";
  }
  if (settings.furniture != 0 && settings.programme == nullptr) {
    return "furniture needs a programme to know what the rooms are for";
  }
  return std::nullopt;
}

// Counts the design steps of a design running on another thread, and ends
// that design at its next step by throwing Cancelled once asked to.
class ProgressCounter final : public quarn::DesignObserver {
 public:
  struct Cancelled {};

  void RoomStarted() override { LeaveIfCancelled(); }
  void CellPlaced() override {
    done.fetch_add(1, std::memory_order_relaxed);
    LeaveIfCancelled();
  }
  void CandidateScored(float /*score*/) override { LeaveIfCancelled(); }

  std::atomic<std::uint64_t> done{0};
  std::atomic<bool> cancelled{false};

 private:
  void LeaveIfCancelled() const {
    if (cancelled.load(std::memory_order_relaxed)) throw Cancelled{};
  }
};

// The most design steps the loops can take: each cell placed once on every
// storey, within each building's budget.
std::uint64_t MostSteps(const quarn::OutlineFile& file, const quarn_settings& settings) {
  std::uint64_t total = 0;
  for (int i = 0; i < file.loops.GetSize(); ++i) {
    total += std::min<std::uint64_t>(settings.steps,
                                     quarn::CountOutlineCells(file.loops[i]) * settings.storeys);
  }
  return total;
}

// Leaves the handle with no buildings.
void Clear(quarn_design& design) {
  design.buildings.clear();
  design.finished.reset();
  design.typed.reset();
  design.furnished.reset();
  design.navigation.reset();
  design.notes.clear();
}

// The buildings of one generation with the layers the settings ask for.
struct Generated {
  std::vector<CBuilding> buildings;
  std::optional<std::vector<quarn::FinishedBuilding>> finished;
  std::optional<std::vector<quarn::TypedBuilding>> typed;
  std::optional<std::vector<quarn::FurnishedBuilding>> furnished;
  std::optional<std::vector<quarn::NavBuilding>> navigation;
};

// What a generation makes besides the design, read from the settings.
struct Layers {
  std::optional<quarn::Programme> programme;
  bool furniture = false;
  bool navigation = false;
  quarn::NavScale scale;
};

Generated Design(const quarn::OutlineFile& file, const quarn_settings& settings,
                 const Layers& layers, quarn::DesignObserver& observer) {
  Generated generated;
  for (int i = 0; i < file.loops.GetSize(); ++i) {
    const CFloorSpec spec = quarn::SpecOf(file.loops[i], {settings.room_size, settings.room_size_variance,
                                                          settings.storeys, settings.seed});
    generated.buildings.emplace_back(spec, settings.steps, observer);
  }
  if (settings.finished == 0) return generated;
  const quarn::FinishSettings finish{static_cast<Side>(settings.entrance_side)};
  auto& finished = generated.finished.emplace();
  auto* typed = layers.programme ? &generated.typed.emplace() : nullptr;
  auto* furnished = layers.furniture ? &generated.furnished.emplace() : nullptr;
  auto* navigation = layers.navigation ? &generated.navigation.emplace() : nullptr;
  for (const CBuilding& building : generated.buildings) {
    const TList<CFloor>& floors = building.floors;
    finished.push_back(quarn::FinishBuilding(floors, finish));
    if (typed != nullptr) {
      typed->push_back(quarn::ApplyProgramme(floors, finished.back(), *layers.programme,
                                             layers.scale.metresPerUnit));
    }
    if (furnished != nullptr) {
      furnished->push_back(quarn::FurnishBuilding(floors, finished.back(), typed->back(),
                                                  layers.scale.metresPerUnit));
    }
    if (navigation != nullptr) {
      navigation->push_back(quarn::NavigateBuilding(
          floors, finished.back(), typed ? &typed->back() : nullptr,
          furnished ? &furnished->back() : nullptr, layers.scale));
    }
  }
  return generated;
}

// The programme the settings name or spell out; none after saying why.
std::optional<quarn::Programme> ReadProgramme(const char* given, std::string& problem) {
  const std::string_view text(given);
  if (auto builtin = quarn::GetBuiltinProgramme(text)) return builtin;
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || text[start] != '{') {
    problem = "programme '" + std::string(text) +
              "' is no built-in programme (house, office) and no programme text (JSON)";
    return std::nullopt;
  }
  quarn::ProgrammeReadResult read = quarn::ReadProgrammeJson(text, "programme");
  if (!read.programme) problem = read.error;
  return read.programme;
}

// Design with the caller's progress callback: the design runs on a worker
// thread (under the call's own assertion handling) while this thread calls
// back every kProgressInterval, whatever the design is doing. None when the
// callback cancelled; the worker's failure is thrown again here.
std::optional<Generated> DesignReporting(const quarn::OutlineFile& file,
                                         const quarn_settings& settings, const Layers& layers) {
  ProgressCounter counter;
  const std::uint64_t total = MostSteps(file, settings);
  auto worker = std::async(std::launch::async, [&] {
    const quarn::capi::CallAssertions assertions;
    return Design(file, settings, layers, counter);
  });
  // True when the callback asks to stop; the worker then stops at its next
  // step, and does too when the callback throws.
  auto report = [&] {
    try {
      return settings.progress(settings.progress_user, counter.done.load(), total) != 0;
    } catch (...) {
      counter.cancelled = true;
      throw;
    }
  };
  counter.cancelled = report();
  while (worker.wait_for(kProgressInterval) != std::future_status::ready) {
    if (!counter.cancelled && report()) counter.cancelled = true;
  }
  if (counter.cancelled) {
    try {
      worker.get();
    } catch (const ProgressCounter::Cancelled&) {
      // As asked.
    }
    return std::nullopt;
  }
  Generated generated = worker.get();
  if (report()) return std::nullopt;
  return generated;
}

quarn_status Generate(quarn_design& design, const std::string& text, const quarn_settings* given) {
  Clear(design);
  std::string problem;
  const std::optional<quarn_settings> read = ReadSettings(given, problem);
  if (!read) return Fail(design, QUARN_ERROR_RANGE, problem);
  const quarn_settings& settings = *read;
  if (const auto bad = CheckSettings(settings)) return Fail(design, QUARN_ERROR_RANGE, *bad);
  Layers layers;
  layers.furniture = settings.furniture != 0;
  layers.navigation = settings.navigation != 0;
  layers.scale.metresPerUnit = settings.unit;
  layers.scale.storeyHeight =
      settings.storey_height != 0 ? settings.storey_height : quarn::kFinishedStoreyHeight;
  if (settings.programme != nullptr) {
    layers.programme = ReadProgramme(settings.programme, problem);
    if (!layers.programme) return Fail(design, QUARN_ERROR_PROGRAMME, problem);
  }
  std::istringstream in(text);
  const quarn::OutlineFile file = quarn::ReadOutlineFile(in);
  if (!file.IsValid()) {
    const std::string where =
        file.problemLine > 0 ? "loop " + std::to_string(file.problemLine) + ": " : "";
    return Fail(design, QUARN_ERROR_OUTLINE, where + file.problem);
  }
  std::optional<Generated> generated;
  if (settings.progress == nullptr) {
    quarn::DesignObserver silent;
    generated = Design(file, settings, layers, silent);
  } else {
    generated = DesignReporting(file, settings, layers);
    if (!generated) return Fail(design, QUARN_ERROR_CANCELLED, "cancelled by the progress callback");
  }
  design.buildings = std::move(generated->buildings);
  design.finished = std::move(generated->finished);
  design.typed = std::move(generated->typed);
  design.furnished = std::move(generated->furnished);
  design.navigation = std::move(generated->navigation);
  design.steps = settings.steps;
  design.scene = quarn::SceneSettings{};
  design.scene.metresPerUnit = settings.unit;
  if (settings.storey_height != 0) {
    design.scene.storeyHeight = settings.storey_height;
  } else if (design.finished) {
    design.scene.storeyHeight = quarn::kFinishedStoreyHeight;
  }
  design.notes.resize(design.buildings.size());
  for (std::size_t b = 0; b < design.notes.size(); ++b) {
    auto& notes = design.notes[b];
    if (design.finished) notes[QUARN_NOTES_MISSING] = (*design.finished)[b].GetMissing();
    if (design.typed) notes[QUARN_NOTES_UNMET] = (*design.typed)[b].unmet;
    if (design.furnished) notes[QUARN_NOTES_UNFURNISHED] = (*design.furnished)[b].unfurnished;
    if (design.navigation) notes[QUARN_NOTES_UNREACHABLE] = (*design.navigation)[b].unreachable;
  }
  return QUARN_OK;
}

// Refuses what no text form can say: a loop of no points would be skipped
// as a blank line, and building indices would no longer follow loop indices.
quarn_status GeneratePoints(quarn_design& design, const int32_t* xy, const size_t* loopSizes,
                            size_t loopCount, const quarn_settings* settings) {
  if (loopCount > 0 && (xy == nullptr || loopSizes == nullptr)) {
    return Fail(design, QUARN_ERROR_NULL, "no points or no loop sizes");
  }
  // The points in the text form, so that they are checked as a file is.
  std::ostringstream text;
  for (size_t loop = 0; loop < loopCount; ++loop) {
    if (loopSizes[loop] == 0) {
      Clear(design);
      return Fail(design, QUARN_ERROR_OUTLINE,
                  "loop " + std::to_string(loop + 1) + ": a loop needs at least 4 points, not 0");
    }
    for (size_t p = 0; p < loopSizes[loop]; ++p, xy += 2) text << '(' << xy[0] << ',' << xy[1] << ')';
    text << "*\n";
  }
  return Generate(design, text.str(), settings);
}

// The building, or null after saying its index is out of range.
const CBuilding* Building(const quarn_design& design, size_t building) {
  if (building >= design.buildings.size()) {
    Fail(design, QUARN_ERROR_RANGE,
         "building " + std::to_string(building) + " of " + std::to_string(design.buildings.size()));
    return nullptr;
  }
  return &design.buildings[building];
}

// The storey, or null after saying which index is out of range.
const CFloor* Storey(const quarn_design& design, size_t building, size_t storey) {
  if (Building(design, building) == nullptr) return nullptr;
  const TList<CFloor>& floors = design.buildings[building].floors;
  if (storey >= static_cast<size_t>(floors.GetSize())) {
    Fail(design, QUARN_ERROR_RANGE,
         "storey " + std::to_string(storey) + " of " + std::to_string(floors.GetSize()));
    return nullptr;
  }
  return &floors[static_cast<int>(storey)];
}

const CRoom* Room(const quarn_design& design, size_t building, size_t storey, size_t room) {
  const CFloor* floor = Storey(design, building, storey);
  if (floor == nullptr) return nullptr;
  if (room >= static_cast<size_t>(floor->rooms.GetSize())) {
    Fail(design, QUARN_ERROR_RANGE,
         "room " + std::to_string(room) + " of " + std::to_string(floor->rooms.GetSize()));
    return nullptr;
  }
  return &floor->rooms[static_cast<int>(room)];
}

// The entry of a per-storey table of a layer, or null where the table holds
// none (a storey the layer left out).
template <class T>
const T* EntryOf(const std::vector<std::vector<T>>& table, size_t storey, size_t index) {
  if (storey >= table.size() || index >= table[storey].size()) return nullptr;
  return &table[storey][index];
}

// The typed building, or null without a programme.
const quarn::TypedBuilding* TypedAt(const quarn_design& design, size_t building) {
  return design.typed ? &(*design.typed)[building] : nullptr;
}

// The opening a wall's key names.
quarn_opening OpeningNamed(std::string_view key) {
  if (key == "entrance") return QUARN_OPENING_ENTRANCE;
  if (key == "door") return QUARN_OPENING_DOOR;
  if (key == "window") return QUARN_OPENING_WINDOW;
  return QUARN_OPENING_NONE;
}

// The building's layer, or null after saying why there is none (what names
// the setting that asks for it); the status in *status.
template <class T>
const T* LayerAt(const quarn_design& design, const std::optional<std::vector<T>>& layer,
                 size_t building, const char* what, quarn_status& status) {
  status = QUARN_ERROR_RANGE;
  if (Building(design, building) == nullptr) return nullptr;
  if (!layer) {
    status = QUARN_ERROR_UNAVAILABLE;
    Fail(design, status, std::string("the generation was not asked for ") + what);
    return nullptr;
  }
  return &(*layer)[building];
}

// The building's notes of kind, or null after saying why there are none.
const std::vector<std::string>* NotesAt(const quarn_design& design, size_t building, int kind) {
  if (Building(design, building) == nullptr) return nullptr;
  if (kind < 0 || static_cast<std::size_t>(kind) >= kNoteKinds) {
    Fail(design, QUARN_ERROR_RANGE, "no notes of kind " + std::to_string(kind));
    return nullptr;
  }
  return &design.notes[building][static_cast<std::size_t>(kind)];
}

// The finished building, or null after saying why there is none; the
// status in *status.
const quarn::FinishedBuilding* FinishedAt(const quarn_design& design, size_t building,
                                          quarn_status& status) {
  return LayerAt(design, design.finished, building, "finished buildings (finished 0)", status);
}

// Copies items into out (capacity of them): the count is always given; a
// null out with capacity 0 only measures.
template <class T>
quarn_status CopyOut(const quarn_design& design, const std::vector<T>& items, T* out,
                     size_t capacity, size_t* count) {
  if (count == nullptr || (out == nullptr && capacity > 0)) {
    return Fail(design, QUARN_ERROR_NULL, "no count, or no array for a capacity");
  }
  *count = items.size();
  if (out == nullptr) return QUARN_OK;
  if (capacity < items.size()) {
    return Fail(
        design, QUARN_ERROR_BUFFER_SIZE,
        "needs room for " + std::to_string(items.size()) + ", has " + std::to_string(capacity));
  }
  std::copy(items.begin(), items.end(), out);
  return QUARN_OK;
}

// The stair, or null after saying why there is none; the status in *status.
const std::optional<quarn::Stair>* StairAt(const quarn_design& design, size_t building,
                                           size_t stair, quarn_status& status) {
  const quarn::FinishedBuilding* finished = FinishedAt(design, building, status);
  if (finished == nullptr) return nullptr;
  if (stair >= finished->stairs.size()) {
    status = QUARN_ERROR_RANGE;
    Fail(design, status,
         "stair " + std::to_string(stair) + " of " + std::to_string(finished->stairs.size()));
    return nullptr;
  }
  return &finished->stairs[stair];
}

// The piece, or null after saying why there is none; the status in *status.
const quarn::FurniturePiece* PieceAt(const quarn_design& design, size_t building, size_t piece,
                                     quarn_status& status) {
  const quarn::FurnishedBuilding* furnished =
      LayerAt(design, design.furnished, building, "furniture", status);
  if (furnished == nullptr) return nullptr;
  if (piece >= furnished->pieces.size()) {
    status = QUARN_ERROR_RANGE;
    Fail(design, status,
         "piece " + std::to_string(piece) + " of " + std::to_string(furnished->pieces.size()));
    return nullptr;
  }
  return &furnished->pieces[piece];
}

quarn_box BoxOf(const CBox3& box) {
  return {{box.GetMin().x, box.GetMin().y, box.GetMin().z},
          {box.GetMax().x, box.GetMax().y, box.GetMax().z}};
}

quarn_missing MissingOf(quarn::Missing missing) {
  switch (missing) {
    case quarn::Missing::kNone:
      return QUARN_PRESENT;
    case quarn::Missing::kIncomplete:
      return QUARN_MISSING_INCOMPLETE;
    case quarn::Missing::kNoPlace:
      break;
  }
  return QUARN_MISSING_NO_PLACE;
}

// The bytes of a single-file format; false with a message for the others.
quarn_status Bytes(const quarn_design& design, quarn_format format, std::string& bytes) {
  std::ostringstream out;
  std::string problem;
  switch (format) {
    case QUARN_FORMAT_JSON: {
      quarn::PlanDump dump(out, design.steps, design.typed ? 3 : design.finished ? 2 : 1);
      for (std::size_t i = 0; i < design.buildings.size(); ++i) {
        dump.AddBuilding(design.buildings[i], design.finished ? &(*design.finished)[i] : nullptr,
                         TypedAt(design, i),
                         design.furnished ? &(*design.furnished)[i] : nullptr);
      }
      dump.Finish();
      break;
    }
    case QUARN_FORMAT_SVG:
    case QUARN_FORMAT_PDF:
    case QUARN_FORMAT_PNG: {
      const quarn::PlanFormat plan = format == QUARN_FORMAT_SVG   ? quarn::PlanFormat::kSvg
                                     : format == QUARN_FORMAT_PDF ? quarn::PlanFormat::kPdf
                                                                  : quarn::PlanFormat::kPng;
      const std::string steps =
          design.steps == QUARN_STEPS_ALL ? "all" : std::to_string(design.steps);
      if (!quarn::WritePlan(Floors(design), Finished(design), {kPlanSource, steps}, plan, quarn::kDefaultPlanPxPerUnit, out,
                            problem, Layer(design.typed), Layer(design.furnished))) {
        return Fail(design, QUARN_ERROR_INTERNAL, problem);
      }
      break;
    }
    case QUARN_FORMAT_GLB: {
      std::string glb;
      if (!quarn::WriteGlb(quarn::BuildScene(Floors(design), design.scene, Finished(design),
                                             Layer(design.typed), Layer(design.furnished)),
                           glb, problem)) {
        return Fail(design, QUARN_ERROR_INTERNAL, problem);
      }
      out << glb;
      break;
    }
    default:
      return Fail(design, QUARN_ERROR_FORMAT,
                  "this format writes several files: write it to a file");
  }
  bytes = out.str();
  return QUARN_OK;
}

bool IsFormat(int format) { return format >= QUARN_FORMAT_JSON && format <= QUARN_FORMAT_FBX; }

}  // namespace

extern "C" {

const char* quarn_version(void) { return QUARN_VERSION_STRING; }

const char* quarn_status_string(int status) {
  switch (status) {
    case QUARN_OK:
      return "QUARN_OK";
    case QUARN_ERROR_NULL:
      return "QUARN_ERROR_NULL";
    case QUARN_ERROR_OUTLINE:
      return "QUARN_ERROR_OUTLINE";
    case QUARN_ERROR_RANGE:
      return "QUARN_ERROR_RANGE";
    case QUARN_ERROR_BUFFER_SIZE:
      return "QUARN_ERROR_BUFFER_SIZE";
    case QUARN_ERROR_IO:
      return "QUARN_ERROR_IO";
    case QUARN_ERROR_FORMAT:
      return "QUARN_ERROR_FORMAT";
    case QUARN_ERROR_MEMORY:
      return "QUARN_ERROR_MEMORY";
    case QUARN_ERROR_INTERNAL:
      return "QUARN_ERROR_INTERNAL";
    case QUARN_ERROR_CANCELLED:
      return "QUARN_ERROR_CANCELLED";
    case QUARN_ERROR_UNAVAILABLE:
      return "QUARN_ERROR_UNAVAILABLE";
    case QUARN_ERROR_PROGRAMME:
      return "QUARN_ERROR_PROGRAMME";
    default:
      return "unknown status";
  }
}

quarn_status quarn_init_settings(quarn_settings* settings, size_t size) {
  if (settings == nullptr) return QUARN_ERROR_NULL;
  const std::size_t* const end = std::end(kSettingsSizes);
  if (std::find(std::begin(kSettingsSizes), end, size) == end) return QUARN_ERROR_RANGE;
  const quarn_settings defaults = quarn_default_settings();
  std::memcpy(settings, &defaults, size);
  settings->size = static_cast<std::uint32_t>(size);
  return QUARN_OK;
}

quarn_settings quarn_default_settings(void) {
  const quarn::DesignSettings design;
  quarn_settings settings{};
  settings.size = sizeof(quarn_settings);
  settings.room_size = design.roomSize;
  settings.room_size_variance = design.roomSizeVariance;
  settings.storeys = design.storeys;
  settings.steps = QUARN_STEPS_ALL;
  settings.seed = design.seed;
  settings.finished = 1;
  settings.entrance_side = QUARN_SIDE_SOUTH;
  settings.unit = 1.0f;
  return settings;
}

quarn_status quarn_create(quarn_design** design) {
  if (design == nullptr) return QUARN_ERROR_NULL;
  *design = new (std::nothrow) quarn_design;
  return *design != nullptr ? QUARN_OK : QUARN_ERROR_MEMORY;
}

void quarn_destroy(quarn_design* design) { delete design; }

const char* quarn_last_error(const quarn_design* design) {
  if (design == nullptr) return "no handle";
  const std::lock_guard<std::mutex> lock(design->mutex);
  return design->error.c_str();
}

quarn_status quarn_generate_text(quarn_design* design, const char* text, size_t length,
                                 const quarn_settings* settings) {
  return GuardedGeneration(design, [&] {
    if (text == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no outline text");
    return Generate(*design, std::string(text, length), settings);
  });
}

quarn_status quarn_generate_points(quarn_design* design, const int32_t* xy,
                                   const size_t* loop_sizes, size_t loop_count,
                                   const quarn_settings* settings) {
  return GuardedGeneration(design, [&] {
    return GeneratePoints(*design, xy, loop_sizes, loop_count, settings);
  });
}

quarn_status quarn_building_count(const quarn_design* design, size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    *count = design->buildings.size();
    return QUARN_OK;
  });
}

quarn_status quarn_storey_count(const quarn_design* design, size_t building, size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    const CBuilding* found = Building(*design, building);
    if (found == nullptr) return QUARN_ERROR_RANGE;
    *count = static_cast<size_t>(found->floors.GetSize());
    return QUARN_OK;
  });
}

quarn_status quarn_room_count(const quarn_design* design, size_t building, size_t storey,
                              size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    const CFloor* floor = Storey(*design, building, storey);
    if (floor == nullptr) return QUARN_ERROR_RANGE;
    *count = static_cast<size_t>(floor->rooms.GetSize());
    return QUARN_OK;
  });
}

quarn_status quarn_get_room(const quarn_design* design, size_t building, size_t storey, size_t room,
                            quarn_room* out) {
  return Guarded(design, [&] {
    if (out == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no room to fill");
    const CRoom* found = Room(*design, building, storey, room);
    if (found == nullptr) return QUARN_ERROR_RANGE;
    const CBox2List boxes = found->outline.GetAsBoxList();
    std::int64_t area = 0;
    for (int b = 0; b < boxes.GetSize(); ++b) area += boxes[b].GetArea();
    *out = quarn_room{static_cast<size_t>(found->outline.GetSize()), area,
                      found->IsComplete() ? 1 : 0};
    return QUARN_OK;
  });
}

quarn_status quarn_get_room_outline(const quarn_design* design, size_t building, size_t storey,
                                    size_t room, int32_t* xy, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    const CRoom* found = Room(*design, building, storey, room);
    if (found == nullptr) return QUARN_ERROR_RANGE;
    std::vector<CPoint2> points;
    for (int i = 0; i < found->outline.GetSize(); ++i) points.push_back(found->outline[i]);
    if (count == nullptr || (xy == nullptr && capacity > 0)) {
      return Fail(*design, QUARN_ERROR_NULL, "no count, or no array for a capacity");
    }
    *count = points.size();
    if (xy == nullptr) return QUARN_OK;
    if (capacity < points.size()) {
      return Fail(*design, QUARN_ERROR_BUFFER_SIZE,
                  "needs room for " + std::to_string(points.size()) + " points, has " +
                      std::to_string(capacity));
    }
    for (const CPoint2& p : points) {
      *xy++ = p.x;
      *xy++ = p.y;
    }
    return QUARN_OK;
  });
}

quarn_status quarn_get_walls(const quarn_design* design, size_t building, size_t storey,
                             quarn_wall* walls, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    const CFloor* floor = Storey(*design, building, storey);
    if (floor == nullptr) return QUARN_ERROR_RANGE;
    const auto indices = floor->GetRoomIndices();
    auto indexOf = [&](const CRoom* room) {
      const auto found = indices.find(room);
      return found == indices.end() ? -1 : found->second;
    };
    const int s = static_cast<int>(storey);
    std::vector<quarn_wall> all;
    for (int w = 0; w < floor->walls.GetSize(); ++w) {
      const CWall& wall = floor->walls[w];
      const CPoint2 a = wall.edge.GetPoint(1);
      const CPoint2 b = wall.edge.GetPoint(2);
      const quarn_opening opening =
          design->finished
              ? OpeningNamed(quarn::GetWallOpeningKey(*floor, (*design->finished)[building],
                                                      TypedAt(*design, building), s, w))
              : static_cast<quarn_opening>(wall.GetOpening());
      all.push_back({a.x, a.y, b.x, b.y, indexOf(wall.pair.first), indexOf(wall.pair.second),
                     opening});
    }
    return CopyOut(*design, all, walls, capacity, count);
  });
}

quarn_status quarn_get_slabs(const quarn_design* design, size_t building, size_t storey,
                             quarn_slab* slabs, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    const CFloor* floor = Storey(*design, building, storey);
    if (floor == nullptr) return QUARN_ERROR_RANGE;
    std::vector<quarn_slab> all;
    for (int r = 0; r < floor->slabs.GetSize(); ++r) {
      const TList<CBox3> boxes =
          design->finished
              ? (*design->finished)[building].GetSlabs(*floor, static_cast<int>(storey), r)
              : floor->slabs[r];
      for (int b = 0; b < boxes.GetSize(); ++b) {
        const quarn_box box = BoxOf(boxes[b]);
        all.push_back({r,
                       {box.min[0], box.min[1], box.min[2]},
                       {box.max[0], box.max[1], box.max[2]}});
      }
    }
    return CopyOut(*design, all, slabs, capacity, count);
  });
}

quarn_status quarn_get_wall_pieces(const quarn_design* design, size_t building, size_t storey,
                                   size_t wall, quarn_box* boxes, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    const CFloor* floor = Storey(*design, building, storey);
    if (floor == nullptr) return QUARN_ERROR_RANGE;
    if (wall >= static_cast<size_t>(floor->walls.GetSize())) {
      return Fail(*design, QUARN_ERROR_RANGE,
                  "wall " + std::to_string(wall) + " of " + std::to_string(floor->walls.GetSize()));
    }
    const int w = static_cast<int>(wall);
    const TList<CBox3> pieces =
        design->finished
            ? quarn::GetTypedWallPieces(*floor, (*design->finished)[building],
                                        TypedAt(*design, building), static_cast<int>(storey), w)
            : floor->walls[w].pieces;
    std::vector<quarn_box> all;
    for (int i = 0; i < pieces.GetSize(); ++i) all.push_back(BoxOf(pieces[i]));
    return CopyOut(*design, all, boxes, capacity, count);
  });
}

quarn_status quarn_get_entrance(const quarn_design* design, size_t building, quarn_entrance* out) {
  return Guarded(design, [&] {
    if (out == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no entrance to fill");
    quarn_status status = QUARN_OK;
    const quarn::FinishedBuilding* finished = FinishedAt(*design, building, status);
    if (finished == nullptr) return status;
    quarn_entrance entrance{};
    entrance.missing = MissingOf(finished->GetEntranceMissing());
    if (const auto& found = finished->entrance) {
      entrance.wall = found->wall;
      entrance.room = found->room;
      entrance.centre[0] = found->centre.x;
      entrance.centre[1] = found->centre.y;
      entrance.facing = static_cast<quarn_side>(found->facing);
    }
    *out = entrance;
    return QUARN_OK;
  });
}

quarn_status quarn_stair_count(const quarn_design* design, size_t building, size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    quarn_status status = QUARN_OK;
    const quarn::FinishedBuilding* finished = FinishedAt(*design, building, status);
    if (finished == nullptr) return status;
    *count = finished->stairs.size();
    return QUARN_OK;
  });
}

quarn_status quarn_get_stair(const quarn_design* design, size_t building, size_t stair,
                             quarn_stair* out) {
  return Guarded(design, [&] {
    if (out == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no stair to fill");
    quarn_status status = QUARN_OK;
    const std::optional<quarn::Stair>* found = StairAt(*design, building, stair, status);
    if (found == nullptr) return status;
    quarn_stair result{};
    result.missing = MissingOf((*design->finished)[building].GetStairMissing(stair));
    result.lower = static_cast<int32_t>(stair);
    if (*found) {
      const quarn::Stair& s = **found;
      const CBox2& footprint = s.footprint;
      result.footprint[0] = footprint.GetMin().x;
      result.footprint[1] = footprint.GetMin().y;
      result.footprint[2] = footprint.GetMax().x;
      result.footprint[3] = footprint.GetMax().y;
      result.climb = static_cast<quarn_side>(s.climb);
      result.room_below = s.roomBelow;
      result.room_above = s.roomAbove;
      result.step_count = static_cast<size_t>(s.steps.GetSize());
    }
    *out = result;
    return QUARN_OK;
  });
}

quarn_status quarn_get_stair_steps(const quarn_design* design, size_t building, size_t stair,
                                   quarn_box* steps, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    quarn_status status = QUARN_OK;
    const std::optional<quarn::Stair>* found = StairAt(*design, building, stair, status);
    if (found == nullptr) return status;
    std::vector<quarn_box> boxes;
    if (*found) {
      for (int i = 0; i < (*found)->steps.GetSize(); ++i) boxes.push_back(BoxOf((*found)->steps[i]));
    }
    return CopyOut(*design, boxes, steps, capacity, count);
  });
}

quarn_status quarn_get_room_from_entrance(const quarn_design* design, size_t building,
                                          size_t storey, size_t room, int32_t* doors) {
  return Guarded(design, [&] {
    if (doors == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no door count to fill");
    if (Room(*design, building, storey, room) == nullptr) return QUARN_ERROR_RANGE;
    quarn_status status = QUARN_OK;
    const quarn::FinishedBuilding* finished = FinishedAt(*design, building, status);
    if (finished == nullptr) return status;
    const std::optional<int>* distance = EntryOf(finished->fromEntrance, storey, room);
    *doors = distance && *distance ? static_cast<int32_t>(**distance) : -1;
    return QUARN_OK;
  });
}

quarn_status quarn_get_room_doors(const quarn_design* design, size_t building, size_t storey,
                                  size_t room, int32_t* walls, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    if (Room(*design, building, storey, room) == nullptr) return QUARN_ERROR_RANGE;
    quarn_status status = QUARN_OK;
    const quarn::FinishedBuilding* finished = FinishedAt(*design, building, status);
    if (finished == nullptr) return status;
    const int s = static_cast<int>(storey);
    const std::vector<int> doors =
        finished->GetDoors(design->buildings[building].floors[s], s, static_cast<int>(room));
    return CopyOut(*design, std::vector<int32_t>(doors.begin(), doors.end()), walls, capacity,
                   count);
  });
}

quarn_status quarn_note_count(const quarn_design* design, size_t building, int kind,
                              size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    const std::vector<std::string>* notes = NotesAt(*design, building, kind);
    if (notes == nullptr) return QUARN_ERROR_RANGE;
    *count = notes->size();
    return QUARN_OK;
  });
}

quarn_status quarn_get_note(const quarn_design* design, size_t building, int kind, size_t note,
                            const char** text) {
  return Guarded(design, [&] {
    if (text == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no text to set");
    const std::vector<std::string>* notes = NotesAt(*design, building, kind);
    if (notes == nullptr) return QUARN_ERROR_RANGE;
    if (note >= notes->size()) {
      return Fail(*design, QUARN_ERROR_RANGE,
                  "note " + std::to_string(note) + " of " + std::to_string(notes->size()));
    }
    *text = (*notes)[note].c_str();
    return QUARN_OK;
  });
}

const char* quarn_room_type_key(int type) {
  if (type < 0 || type >= quarn::kRoomTypeCount) return nullptr;
  // The keys are string literals, so their views end in a null.
  return quarn::GetRoomTypeKey(static_cast<quarn::RoomType>(type)).data();
}

quarn_status quarn_get_room_type(const quarn_design* design, size_t building, size_t storey,
                                 size_t room, quarn_room_type* type, const char** name) {
  return Guarded(design, [&] {
    if (type == nullptr || name == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no type or name");
    if (Room(*design, building, storey, room) == nullptr) return QUARN_ERROR_RANGE;
    quarn_status status = QUARN_OK;
    const quarn::TypedBuilding* typed = LayerAt(*design, design->typed, building, "programme", status);
    if (typed == nullptr) return status;
    const std::optional<quarn::RoomType>* found = EntryOf(typed->types, storey, room);
    const std::string* named = EntryOf(typed->names, storey, room);
    *type = found && *found ? static_cast<quarn_room_type>(**found) : QUARN_ROOM_UNTYPED;
    *name = named ? named->c_str() : "";
    return QUARN_OK;
  });
}

quarn_status quarn_furniture_count(const quarn_design* design, size_t building, size_t* count) {
  return Guarded(design, [&] {
    if (count == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no count");
    quarn_status status = QUARN_OK;
    const quarn::FurnishedBuilding* furnished =
        LayerAt(*design, design->furnished, building, "furniture", status);
    if (furnished == nullptr) return status;
    *count = furnished->pieces.size();
    return QUARN_OK;
  });
}

quarn_status quarn_get_furniture(const quarn_design* design, size_t building, size_t piece,
                                 quarn_furniture* out) {
  return Guarded(design, [&] {
    if (out == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no piece to fill");
    quarn_status status = QUARN_OK;
    const quarn::FurniturePiece* found = PieceAt(*design, building, piece, status);
    if (found == nullptr) return status;
    quarn_furniture result{};
    result.kind = found->kind.c_str();
    result.storey = found->storey;
    result.room = found->room;
    for (std::size_t i = 0; i < 4 && i < found->footprint.size(); ++i) {
      result.footprint[i] = found->footprint[i];
    }
    result.facing = static_cast<quarn_side>(found->facing);
    result.box_count = static_cast<size_t>(found->boxes.GetSize());
    *out = result;
    return QUARN_OK;
  });
}

quarn_status quarn_get_furniture_boxes(const quarn_design* design, size_t building, size_t piece,
                                       quarn_box* boxes, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    quarn_status status = QUARN_OK;
    const quarn::FurniturePiece* found = PieceAt(*design, building, piece, status);
    if (found == nullptr) return status;
    std::vector<quarn_box> all;
    for (int i = 0; i < found->boxes.GetSize(); ++i) all.push_back(BoxOf(found->boxes[i]));
    return CopyOut(*design, all, boxes, capacity, count);
  });
}

quarn_status quarn_get_room_reach(const quarn_design* design, size_t building, size_t storey,
                                  size_t room, quarn_reach* out) {
  return Guarded(design, [&] {
    if (out == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no reach to fill");
    if (Room(*design, building, storey, room) == nullptr) return QUARN_ERROR_RANGE;
    quarn_status status = QUARN_OK;
    const quarn::NavBuilding* navigation =
        LayerAt(*design, design->navigation, building, "navigation", status);
    if (navigation == nullptr) return status;
    const quarn::RoomReach* found = EntryOf(navigation->rooms, storey, room);
    if (found == nullptr) {
      return Fail(*design, QUARN_ERROR_INTERNAL, "the navigation holds no such room");
    }
    const quarn::RoomReach& reach = *found;
    quarn_reach result{};
    result.reachable = reach.reachable ? 1 : 0;
    result.path_length = reach.reachable && reach.pathLength ? *reach.pathLength : -1.0f;
    result.free_point[0] = reach.freePoint.x;
    result.free_point[1] = reach.freePoint.y;
    result.free_point[2] = reach.freePoint.z;
    result.free_radius = reach.freeRadius;
    result.reason = reach.reason.c_str();
    *out = result;
    return QUARN_OK;
  });
}

quarn_status quarn_find_path(const quarn_design* design, size_t building, const float from[3],
                             const float to[3], float* corners, size_t capacity, size_t* count) {
  return Guarded(design, [&] {
    if (from == nullptr || to == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no end points");
    quarn_status status = QUARN_OK;
    const quarn::NavBuilding* navigation =
        LayerAt(*design, design->navigation, building, "navigation", status);
    if (navigation == nullptr) return status;
    if (!navigation->mesh) {
      return Fail(*design, QUARN_ERROR_UNAVAILABLE, "the building has no navigation mesh");
    }
    if (count == nullptr || (corners == nullptr && capacity > 0)) {
      return Fail(*design, QUARN_ERROR_NULL, "no count, or no array for a capacity");
    }
    const std::optional<std::vector<CVector3>> path =
        navigation->mesh->FindPath(CVector3(from[0], from[1], from[2]), CVector3(to[0], to[1], to[2]));
    std::vector<float> all;
    for (const CVector3& corner : path.value_or(std::vector<CVector3>{})) {
      all.insert(all.end(), {corner.x, corner.y, corner.z});
    }
    *count = all.size() / 3;
    if (corners == nullptr) return QUARN_OK;
    if (capacity < *count) {
      return Fail(*design, QUARN_ERROR_BUFFER_SIZE,
                  "needs room for " + std::to_string(*count) + " corners, has " +
                      std::to_string(capacity));
    }
    std::copy(all.begin(), all.end(), corners);
    return QUARN_OK;
  });
}

quarn_status quarn_write_file(const quarn_design* design, int number, const char* path) {
  return Guarded(design, [&] {
    if (path == nullptr) return Fail(*design, QUARN_ERROR_NULL, "no path");
    if (!IsFormat(number)) {
      return Fail(*design, QUARN_ERROR_RANGE, "no format " + std::to_string(number));
    }
    const auto format = static_cast<quarn_format>(number);
    std::string problem;
    if (format == QUARN_FORMAT_GLTF || format == QUARN_FORMAT_OBJ || format == QUARN_FORMAT_FBX) {
      const quarn::ExportFormat scene = format == QUARN_FORMAT_GLTF  ? quarn::ExportFormat::kGltf
                                        : format == QUARN_FORMAT_OBJ ? quarn::ExportFormat::kObj
                                                                     : quarn::ExportFormat::kFbx;
      if (!quarn::ExportBuildings(Floors(*design), Finished(*design), design->scene, scene, path,
                                  problem, {}, Layer(design->typed), Layer(design->furnished))) {
        return Fail(*design, QUARN_ERROR_IO, problem);
      }
      return QUARN_OK;
    }
    std::string bytes;
    if (const quarn_status status = Bytes(*design, format, bytes); status != QUARN_OK)
      return status;
    if (!quarn::WriteFileAtomically(path, bytes, problem)) {
      return Fail(*design, QUARN_ERROR_IO, problem);
    }
    return QUARN_OK;
  });
}

quarn_status quarn_write_buffer(const quarn_design* design, int number, void* buffer,
                                size_t capacity, size_t* size) {
  return Guarded(design, [&] {
    if (size == nullptr || (buffer == nullptr && capacity > 0)) {
      return Fail(*design, QUARN_ERROR_NULL, "no size, or no buffer for a capacity");
    }
    if (!IsFormat(number)) {
      return Fail(*design, QUARN_ERROR_RANGE, "no format " + std::to_string(number));
    }
    std::string bytes;
    if (const quarn_status status = Bytes(*design, static_cast<quarn_format>(number), bytes);
        status != QUARN_OK) {
      return status;
    }
    std::vector<char> all(bytes.begin(), bytes.end());
    return CopyOut(*design, all, static_cast<char*>(buffer), capacity, size);
  });
}

}  // extern "C"
