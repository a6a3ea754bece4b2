// quarn-gen: generates the buildings of an outline file without a display and
// writes their plans as JSON, draws them as SVG, PDF or PNG floor plans, or
// writes the buildings as a 3D scene.
//
// Exit codes: 0 success, 1 bad input or an output that cannot be written,
// 2 a usage error. Every error is one line on standard error.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <exception>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

#include "batch.h"
#include "generate.h"
#include "geom/outlinecheck.h"
#include "io/atomicfile.h"
#include "programme/json/programmejson.h"
#include "progress.h"
#include "writers.h"

namespace {

constexpr int kBadInput = 1;
constexpr int kUsage = 2;
constexpr std::uint32_t kMaxStoreys = 1000;

struct Arguments {
  std::string steps = "all";
  std::string roomSize = std::to_string(quarn::DesignSettings{}.roomSize);
  std::string variance = std::to_string(quarn::DesignSettings{}.roomSizeVariance);
  std::string storeys = std::to_string(quarn::DesignSettings{}.storeys);
  std::string seed = std::to_string(quarn::DesignSettings{}.seed);
  std::string trace;
  std::string output;
  std::string format;  // empty: follows the output's extension
  int pxPerUnit = quarn::kDefaultPlanPxPerUnit;
  std::string unit = "1";
  std::string materials = "textured";
  bool designOnly = false;
  std::string entranceSide;  // empty: south
  std::string storeyHeight;  // empty: the default of the output
  std::string agentRadius = "0.25";
  std::string agentHeight = "1.8";
  std::string programme;     // empty: house, unless --design-only
  std::string furniture = "default";  // the typed rooms' furniture: default or none
  std::vector<std::string> outlines;
  std::string outline;  // the one outline file of a single run
  std::string jobs;     // empty: one worker per core
  std::string shard;
};

using quarn::OutputSettings;

// The drawn plan formats, by name; json is the plan dump.
std::optional<quarn::PlanFormat> PlanFormatNamed(const std::string& name) {
  if (name == "svg") return quarn::PlanFormat::kSvg;
  if (name == "pdf") return quarn::PlanFormat::kPdf;
  if (name == "png") return quarn::PlanFormat::kPng;
  return std::nullopt;
}

int Fail(int code, const std::string& message) {
  std::cerr << "quarn-gen: " << message << '\n';
  return code;
}

// A whole decimal number from min to max, nothing else.
std::optional<std::uint32_t> ParseCount(const std::string& text, std::uint32_t min,
                                        std::uint32_t max) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

// No -o, or -o -: the one output goes to standard output.
bool WritesToStandardOutput(const Arguments& args) {
  return args.output.empty() || args.output == quarn::kStandardOutput;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return a == b || std::filesystem::equivalent(a, b, error);
}

// The format -f names, else the one -o's extension names, else the dump.
// A batch's -o is a folder: its format is -f or the dump.
std::string FormatName(const Arguments& args, bool batch) {
  if (!args.format.empty()) return args.format;
  if (batch) return "json";
  std::string extension = std::filesystem::path(args.output).extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool known = quarn::ExportFormatNamed(extension) || PlanFormatNamed(extension);
  return known ? extension : "json";
}

// Turns the output argument texts into settings; on a usage error returns
// the message.
std::optional<std::string> ReadOutputSettings(const Arguments& args, bool batch,
                                              OutputSettings& output) {
  const std::string format = FormatName(args, batch);
  output.planFormat = PlanFormatNamed(format);
  if (format != "json" && !output.planFormat) {
    output.exportFormat = quarn::ExportFormatNamed(format);
    if (args.output.empty()) return "--format " + format + " writes files: give -o FILE";
    if (args.output == quarn::kStandardOutput && output.exportFormat != quarn::ExportFormat::kGlb) {
      return "--format " + format + " writes several files: give -o FILE, not -o -";
    }
  }
  // Within these bounds every coordinate of an outline stays a normal,
  // finite float in the scene.
  constexpr float kMinUnit = 1e-6f, kMaxUnit = 1e6f;
  float unit = 0;
  const char* end = args.unit.data() + args.unit.size();
  const auto parsed = std::from_chars(args.unit.data(), end, unit);
  if (args.unit.empty() || parsed.ec != std::errc() || parsed.ptr != end || !(unit >= kMinUnit) ||
      !(unit <= kMaxUnit)) {
    return "--unit takes metres per grid unit from 0.000001 to 1000000, not '" + args.unit + "'";
  }
  output.scene.metresPerUnit = unit;
  output.scene.textured = args.materials == "textured";
  if (!args.storeyHeight.empty()) {
    float height = 0;
    const char* heightEnd = args.storeyHeight.data() + args.storeyHeight.size();
    const auto read = std::from_chars(args.storeyHeight.data(), heightEnd, height);
    if (read.ec != std::errc() || read.ptr != heightEnd || !(height >= kMinUnit) ||
        !(height <= kMaxUnit)) {
      return "--storey-height takes metres from 0.000001 to 1000000, not '" + args.storeyHeight +
             "'";
    }
    output.scene.storeyHeight = height;
  } else if (!args.designOnly) {
    output.scene.storeyHeight = quarn::kFinishedStoreyHeight;
  }
  // The walker of the navigation meshes: from a hand's width to a giant.
  constexpr float kMinAgent = 0.05f, kMaxAgent = 10.0f;
  for (const auto& [name, text, value] :
       {std::tuple{"--agent-radius", &args.agentRadius, &output.agent.radius},
        std::tuple{"--agent-height", &args.agentHeight, &output.agent.height}}) {
    const char* textEnd = text->data() + text->size();
    const auto read = std::from_chars(text->data(), textEnd, *value);
    if (text->empty() || read.ec != std::errc() || read.ptr != textEnd || !(*value >= kMinAgent) ||
        !(*value <= kMaxAgent)) {
      return std::string(name) + " takes metres from 0.05 to 10, not '" + *text + "'";
    }
  }
  if (output.exportFormat == quarn::ExportFormat::kNavMesh && args.designOnly) {
    return "--format navmesh walks finished buildings: not with --design-only";
  }
  output.pxPerUnit = args.pxPerUnit;
  output.stepsText = args.steps;
  return std::nullopt;
}

// Turns the argument texts into settings; on a usage error returns the message.
std::optional<std::string> ReadSettings(const Arguments& args,
                                        quarn::GenerationSettings& settings) {
  constexpr std::uint32_t kAny = UINT32_MAX;
  if (args.steps != "all") {
    const auto steps = ParseCount(args.steps, 0, kAny);
    if (!steps) return "--steps takes a number of design steps or 'all', not '" + args.steps + "'";
    settings.steps = *steps;
  }
  const auto roomSize = ParseCount(args.roomSize, 0, kAny);
  const auto variance = ParseCount(args.variance, 0, kAny);
  const auto storeys = ParseCount(args.storeys, 1, kMaxStoreys);
  if (!roomSize) return "--room-size takes a whole number of cells, not '" + args.roomSize + "'";
  if (!variance) return "--variance takes a whole number of cells, not '" + args.variance + "'";
  if (!storeys) {
    return "--storeys takes a number from 1 to " + std::to_string(kMaxStoreys) + ", not '" +
           args.storeys + "'";
  }
  settings.roomSize = *roomSize;
  settings.roomSizeVariance = *variance;
  settings.storeys = *storeys;
  const auto seed = ParseCount(args.seed, 0, INT32_MAX);
  if (!seed) {
    return "--seed takes a number from 0 to " + std::to_string(INT32_MAX) + ", not '" + args.seed +
           "'";
  }
  settings.seed = static_cast<int>(*seed);
  if (args.designOnly) {
    if (!args.entranceSide.empty()) return "--entrance-side finishes the buildings: not with --design-only";
    if (!args.programme.empty()) return "--programme types finished buildings: not with --design-only";
    settings.finish.reset();
  } else if (args.entranceSide == "north") {
    settings.finish->entranceFacade = SideUp;
  } else if (args.entranceSide == "east") {
    settings.finish->entranceFacade = SideRight;
  } else if (args.entranceSide == "west") {
    settings.finish->entranceFacade = SideLeft;
  }
  if (args.trace == "-" && WritesToStandardOutput(args)) {
    return "--trace - needs -o FILE: the plan already goes to standard output";
  }
  if (!WritesToStandardOutput(args) && !args.trace.empty() && SameFile(args.output, args.trace)) {
    return "-o and --trace name the same file";
  }
  if ((!WritesToStandardOutput(args) && SameFile(args.output, args.outline)) ||
      (!args.trace.empty() && SameFile(args.trace, args.outline))) {
    return "an output would overwrite the outline file";
  }
  return std::nullopt;
}

// Reads the programme --programme names into settings (house when none is
// named, none for the design alone); a file that cannot be read or is
// refused gives its one-line problem.
std::optional<std::string> ReadProgrammeSetting(const Arguments& args,
                                                quarn::GenerationSettings& settings) {
  if (args.furniture == "none") settings.furniture.reset();
  if (args.designOnly || args.programme == "none") return std::nullopt;
  const std::string name = args.programme.empty() ? "house" : args.programme;
  settings.programme = quarn::GetBuiltinProgramme(name);
  if (settings.programme) return std::nullopt;
  std::error_code error;
  if (std::filesystem::is_directory(name, error)) return "cannot read '" + name + "': a directory";
  std::ifstream in(name, std::ios::binary);
  if (!in) return "cannot open '" + name + "': " + std::strerror(errno);
  std::ostringstream text;
  text << in.rdbuf();
  quarn::ProgrammeReadResult read = quarn::ReadProgrammeJson(text.str(), name);
  if (!read.programme) return read.error;
  settings.programme = std::move(read.programme);
  return std::nullopt;
}

// Runs generate (the dump or the buildings) with the design trace going to
// traceTarget (none: not written) and a progress line on a terminal, unless
// the plan or the trace is being written to that terminal too.
void GenerateWithProgress(
    const TList<CPolygon2>& loops, bool dumpToStdout, std::ostream* traceTarget,
    const std::function<void(quarn::DesignObserver& observer,
                             const std::function<void(int)>& beforeBuilding)>& generate) {
  const bool writesToTerminal =
      (dumpToStdout || traceTarget == &std::cout) && isatty(STDOUT_FILENO) != 0;
  const bool showProgress = isatty(STDERR_FILENO) != 0 && !writesToTerminal;
  quarn::ProgressMeter meter(std::cerr, showProgress, loops.GetSize());
  quarn::DesignObserver silent;
  std::optional<quarn::TextTraceObserver> text;
  if (traceTarget != nullptr) text.emplace(*traceTarget);
  quarn::DesignObserver& trace = text ? static_cast<quarn::DesignObserver&>(*text) : silent;
  quarn::MeteredObserver metered(trace, meter);
  generate(showProgress ? metered : trace, [&meter](int building) { meter.StartBuilding(building); });
  meter.Finish();
}

// Several outline files, or a folder of them: one output each in the folder
// -o names, on -j workers.
int RunBatchMode(const Arguments& args) {
  quarn::GenerationSettings settings;
  OutputSettings output;
  if (WritesToStandardOutput(args)) return Fail(kUsage, "several outline files need -o FOLDER");
  if (!args.trace.empty()) return Fail(kUsage, "--trace takes a single outline file");
  if (const auto problem = ReadSettings(args, settings)) return Fail(kUsage, *problem);
  if (const auto problem = ReadOutputSettings(args, true, output)) return Fail(kUsage, *problem);
  if (const auto problem = ReadProgrammeSetting(args, settings)) return Fail(kBadInput, *problem);
  settings.unit = output.scene.metresPerUnit;
  settings.storeyHeight = output.scene.storeyHeight.value_or(quarn::kFinishedStoreyHeight);
  settings.agent = output.agent;
  const unsigned cores = std::thread::hardware_concurrency();
  const auto jobs =
      args.jobs.empty() ? std::optional<std::uint32_t>(cores > 0 ? cores : 1) : ParseCount(args.jobs, 1, 1024);
  if (!jobs) return Fail(kUsage, "-j takes a number of workers from 1 to 1024, not '" + args.jobs + "'");
  quarn::Shard shard;
  if (!args.shard.empty()) {
    const auto parsed = quarn::ParseShard(args.shard);
    if (!parsed) return Fail(kUsage, "--shard takes I/N with 1 <= I <= N, not '" + args.shard + "'");
    shard = *parsed;
  }
  std::vector<quarn::BatchItem> items;
  const std::string extension = FormatName(args, true);
  if (const auto problem = quarn::PlanBatch(args.outlines, args.output, extension, shard, items)) {
    return Fail(kUsage, *problem);
  }
  const quarn::OutputWriters* writers = nullptr;
  if (output.planFormat || output.exportFormat) {
    std::string problem;
    writers = quarn::LoadOutputWriters(problem);
    if (writers == nullptr) return Fail(kBadInput, problem);
  }
  std::error_code error;
  std::filesystem::create_directories(args.output, error);
  if (!std::filesystem::is_directory(args.output, error)) {
    return Fail(kBadInput, "cannot make the folder '" + args.output + "'");
  }
  const int failed = quarn::RunBatch(
      items, static_cast<int>(*jobs), isatty(STDERR_FILENO) != 0, std::cerr,
      [&](const quarn::BatchItem& item) { return quarn::RunBatchItem(item, settings, output, writers); });
  return failed > 0 ? kBadInput : 0;
}

int Run(const Arguments& args) {
  quarn::GenerationSettings settings;
  OutputSettings output;
  if (const auto problem = ReadSettings(args, settings)) return Fail(kUsage, *problem);
  if (const auto problem = ReadOutputSettings(args, false, output)) return Fail(kUsage, *problem);
  if (const auto problem = ReadProgrammeSetting(args, settings)) return Fail(kBadInput, *problem);
  settings.unit = output.scene.metresPerUnit;
  settings.storeyHeight = output.scene.storeyHeight.value_or(quarn::kFinishedStoreyHeight);
  settings.agent = output.agent;
  // Loaded before any file is opened, so that a module that cannot be used
  // leaves nothing behind.
  const quarn::OutputWriters* writers = nullptr;
  if (output.planFormat || output.exportFormat) {
    std::string problem;
    writers = quarn::LoadOutputWriters(problem);
    if (writers == nullptr) return Fail(kBadInput, problem);
  }

  TList<CPolygon2> loops;
  if (const auto problem = quarn::ReadOutlineLoops(args.outline, loops)) return Fail(kBadInput, *problem);

  std::string problem;
  std::unique_ptr<quarn::AtomicFile> dumpFile;
  std::unique_ptr<quarn::AtomicFile> traceFile;
  if (!WritesToStandardOutput(args)) {
    dumpFile = std::make_unique<quarn::AtomicFile>(args.output);
    if (!dumpFile->Open(problem)) return Fail(kBadInput, problem);
    // An export lands its files at the end; opening the file here only
    // checked, before generating, that the folder takes files.
    if (output.exportFormat) dumpFile.reset();
  }
  if (!args.trace.empty() && args.trace != "-") {
    traceFile = std::make_unique<quarn::AtomicFile>(args.trace);
    if (!traceFile->Open(problem)) return Fail(kBadInput, problem);
  }
  std::ostream& dump = dumpFile ? dumpFile->Stream() : std::cout;
  std::ostream* traceTarget =
      traceFile ? &traceFile->Stream() : (args.trace == "-" ? &std::cout : nullptr);

  TList<TList<CFloor>> buildings;
  std::vector<std::string> notes;
  GenerateWithProgress(loops, WritesToStandardOutput(args), traceTarget,
                       [&](quarn::DesignObserver& trace,
                           const std::function<void(int)>& beforeBuilding) {
                         if (!output.exportFormat && !output.planFormat) {
                           notes = quarn::GeneratePlans(loops, settings, dump, trace, beforeBuilding);
                           return;
                         }
                         quarn::GenerateBuildings(
                             loops, settings, trace,
                             [&buildings](const CBuilding& b) { buildings.Add(b.floors); },
                             beforeBuilding);
                       });

  std::vector<quarn::FinishedBuilding> finished;
  std::optional<std::vector<quarn::TypedBuilding>> typed;
  std::optional<std::vector<quarn::FurnishedBuilding>> furnished;
  if (settings.finish && (output.planFormat || output.exportFormat)) {
    finished = quarn::FinishBuildings(buildings, *settings.finish);
    typed = quarn::TypeBuildings(buildings, finished, settings);
    furnished = quarn::FurnishBuildings(buildings, finished, typed, settings);
    for (std::size_t b = 0; b < finished.size(); ++b) {
      for (std::string& note : quarn::MissingNotes(static_cast<int>(b), finished[b])) {
        notes.push_back(std::move(note));
      }
      if (!typed) continue;
      for (std::string& note : quarn::UnmetNotes(static_cast<int>(b), (*typed)[b])) {
        notes.push_back(std::move(note));
      }
      if (!furnished) continue;
      for (std::string& note : quarn::UnfurnishedNotes(static_cast<int>(b), (*furnished)[b])) {
        notes.push_back(std::move(note));
      }
    }
  }
  const std::vector<quarn::FinishedBuilding>* finishing = settings.finish ? &finished : nullptr;
  const std::vector<quarn::TypedBuilding>* typing = typed ? &*typed : nullptr;
  const std::vector<quarn::FurnishedBuilding>* furnishing = furnished ? &*furnished : nullptr;
  for (std::string& note : quarn::AddNavMeshes(buildings, finishing, typing, furnishing, output)) {
    notes.push_back(std::move(note));
  }
  if (output.planFormat) {
    const quarn::PlanTitle title{std::filesystem::path(args.outline).filename().string(),
                                 args.steps};
    if (!writers->writePlan(buildings, finishing, title, *output.planFormat, output.pxPerUnit, dump,
                            problem, typing, furnishing)) {
      return Fail(kBadInput, problem);
    }
  }
  if (output.exportFormat &&
      !writers->exportBuildings(buildings, finishing, output.scene, *output.exportFormat,
                                args.output, problem, {args.outline, args.trace}, typing, furnishing)) {
    return Fail(kBadInput, problem);
  }
  if (dumpFile && !dumpFile->Commit(problem)) return Fail(kBadInput, problem);
  if (traceFile && !traceFile->Commit(problem)) return Fail(kBadInput, problem);
  // Said after the outputs landed, so that a note never hides a failure.
  for (const std::string& note : notes) std::cerr << "quarn-gen: note: " << note << '\n';
  std::cout.flush();
  if (!std::cout) return Fail(kBadInput, "cannot write to standard output");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  CLI::App app(
      "Generates the floor plans of the buildings in an outline file (one loop a line, "
      "\"(x,y)(x,y)...*\") and writes them as JSON, draws them as SVG, PDF or PNG, or "
      "writes all buildings as one 3D scene (glTF binary .glb, glTF .gltf with its .bin and "
      "PNG files, OBJ with .mtl and PNGs, ASCII FBX with PNGs), or their navigation meshes as "
      "OBJ (-f navmesh).",
      "quarn-gen");
  app.add_option("--steps", args.steps, "Design steps per building, or 'all'")
      ->type_name("N|all")
      ->capture_default_str();
  app.add_option("--room-size", args.roomSize, "Target room area in grid cells")
      ->type_name("N")
      ->capture_default_str();
  app.add_option("--variance", args.variance, "How far a room's area may deviate")
      ->type_name("N")
      ->capture_default_str();
  app.add_option("--storeys", args.storeys, "Storeys per building")
      ->type_name("N")
      ->capture_default_str();
  app.add_option("--seed", args.seed,
                 "Added to every storey's random seed: other plans of the same outline "
                 "(with --variance above 0); 0 is the design's own")
      ->type_name("N")
      ->capture_default_str();
  app.add_option("--trace", args.trace, "Write the design trace to FILE ('-': standard output)")
      ->type_name("FILE");
  app.add_option("-o,--output", args.output,
                 "Write to FILE instead of standard output ('-': standard output; 3D formats of "
                 "several files need a FILE)")
      ->type_name("FILE");
  app.add_option("-f,--format", args.format,
                 "Output format; without it the extension of -o picks one, else json")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"json", "svg", "pdf", "png", "glb", "gltf", "obj", "fbx", "navmesh"}));
  app.add_option("--px-per-unit", args.pxPerUnit, "Pixels per grid unit of SVG and PNG plans")
      ->type_name("N")
      ->check(CLI::Range(1, quarn::kMaxPlanPxPerUnit))
      ->capture_default_str();
  app.add_option("--unit", args.unit, "Metres per grid unit in 3D formats")
      ->type_name("METRES")
      ->capture_default_str();
  app.add_option("--materials", args.materials, "Textures in 3D formats, or colours only")
      ->check(CLI::IsMember({"textured", "plain"}))
      ->capture_default_str();
  app.add_flag("--design-only", args.designOnly,
               "The design alone: no entrance, no stairs (plan dump version 1)");
  app.add_option("--entrance-side", args.entranceSide,
                 "The side of the building to put the entrance on, where a wall takes it (default south)")
      ->check(CLI::IsMember({"south", "north", "east", "west"}));
  app.add_option("--storey-height", args.storeyHeight,
                 "Metres per storey in 3D formats (default 3.0; with --design-only the walls' "
                 "1.5 grid units)")
      ->type_name("METRES");
  app.add_option("--agent-radius", args.agentRadius,
                 "Metres: the radius of the walker the navigation meshes are built for")
      ->type_name("METRES")
      ->capture_default_str();
  app.add_option("--agent-height", args.agentHeight,
                 "Metres: the height of the walker the navigation meshes are built for")
      ->type_name("METRES")
      ->capture_default_str();
  app.add_option("--programme", args.programme,
                 "Room programme the finished buildings are typed by: house, office, none "
                 "(plan dump version 2) or a programme file (default house)")
      ->type_name("NAME|FILE.json");
  app.add_option("--furniture", args.furniture,
                 "Furniture of the typed rooms: each type's default set, or none (empty rooms)")
      ->check(CLI::IsMember({"default", "none"}))
      ->capture_default_str();
  app.add_option("-j,--jobs", args.jobs, "Workers of a batch (default: one per core)")
      ->type_name("N");
  app.add_option("--shard", args.shard,
                 "Process only the I-th of N slices of a batch's outline files")
      ->type_name("I/N");
  app.add_option("OUTLINE_FILE", args.outlines,
                 "Outline loops, one a line; several files or folders (of *.quarn files) "
                 "make a batch, one output each in the folder -o names")
      ->type_name("FILE...")
      ->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    return Fail(kUsage, std::string(error.what()) + " (see --help)");
  }
  std::error_code error;
  const bool batch = args.outlines.size() > 1 || !args.shard.empty() ||
                     std::filesystem::is_directory(args.outlines[0], error);
  args.outline = args.outlines[0];
  try {
    return batch ? RunBatchMode(args) : Run(args);
  } catch (const std::bad_alloc&) {
    // An outline within the coordinate limit can still hold more cells than
    // memory does; the temporary files are gone by now.
    return Fail(kBadInput, "out of memory: the outline is too large to generate");
  } catch (const std::exception& error) {
    // Whatever else a writer or a library throws ends the run with one line;
    // the temporary files went as the stack unwound, earlier files stay.
    const std::string output = WritesToStandardOutput(args) ? "standard output" : "'" + args.output + "'";
    return Fail(kBadInput, "cannot write " + output + ": " + error.what());
  }
}
