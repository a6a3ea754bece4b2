#include "batch.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "building/designobserver.h"
#include "io/atomicfile.h"
#include "writers.h"

namespace quarn {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 24;

std::optional<std::uint32_t> ParseWhole(std::string_view text) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

// The "*.quarn" files of folder, in name order.
std::vector<std::string> OutlineFilesIn(const std::string& folder) {
  std::vector<std::string> files;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (entry.path().extension() == ".quarn" && entry.is_regular_file(error)) {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The finished buildings, as a single run makes them; none for the design
// alone.
std::optional<std::vector<FinishedBuilding>> FinishedOf(const TList<TList<CFloor>>& buildings,
                                                        const GenerationSettings& settings) {
  if (!settings.finish) return std::nullopt;
  return FinishBuildings(buildings, *settings.finish);
}

// The output of one item written through an AtomicFile: the plan dump or a
// drawn plan.
std::optional<std::string> WriteThroughFile(const BatchItem& item, const TList<CPolygon2>& loops,
                                            const GenerationSettings& settings,
                                            const OutputSettings& output,
                                            const OutputWriters* writers) {
  std::string problem;
  AtomicFile file(item.output);
  if (!file.Open(problem)) return problem;
  DesignObserver silent;
  if (output.planFormat) {
    const TList<TList<CFloor>> buildings = GenerateFloors(loops, settings, silent);
    const PlanTitle title{fs::path(item.input).filename().string(), output.stepsText};
    const auto finished = FinishedOf(buildings, settings);
    const auto typed = finished ? TypeBuildings(buildings, *finished, settings) : std::nullopt;
    const auto furnished = finished ? FurnishBuildings(buildings, *finished, typed, settings) : std::nullopt;
    if (!writers->writePlan(buildings, finished ? &*finished : nullptr, title, *output.planFormat,
                            output.pxPerUnit, file.Stream(), problem, typed ? &*typed : nullptr,
                            furnished ? &*furnished : nullptr)) {
      return problem;
    }
  } else {
    GeneratePlans(loops, settings, file.Stream(), silent);
  }
  if (!file.Commit(problem)) return problem;
  return std::nullopt;
}

std::string Duration(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  const long minutes = whole / 60;
  const long rest = whole % 60;
  return std::to_string(minutes) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

// The progress bar and the failure lines of one batch, drawn from any
// worker: count, rate and time left, at most ten times a second.
class BatchReport {
 public:
  BatchReport(std::ostream& err, bool progress, std::size_t total)
      : err_(err), progress_(progress), total_(total), start_(Clock::now()) {}

  void Done(const std::optional<std::string>& problem) {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++done_;
    if (problem) {
      ++failed_;
      ClearBar();
      err_ << "quarn-gen: " << *problem << '\n';
    }
    const Clock::time_point now = Clock::now();
    if (progress_ && (now - lastShown_ >= kRedrawInterval || done_ == total_)) {
      lastShown_ = now;
      DrawBar(now);
    }
  }

  // Clears the bar and writes the summary; returns the failures.
  int Finish() {
    const std::lock_guard<std::mutex> lock(mutex_);
    ClearBar();
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    const long perMinute =
        seconds > 0 ? static_cast<long>(static_cast<double>(done_) * 60.0 / seconds) : 0;
    char time[32];
    const char* timeEnd =
        std::to_chars(time, time + sizeof time, seconds, std::chars_format::fixed, 2).ptr;
    err_ << "quarn-gen: " << done_ - failed_ << " of " << total_ << " written, " << failed_
         << " failed, in " << std::string_view(time, static_cast<std::size_t>(timeEnd - time))
         << " s (" << perMinute << " a minute)" << '\n'
         << std::flush;
    return static_cast<int>(failed_);
  }

 private:
  void DrawBar(Clock::time_point now) {
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(done_) / seconds : 0;
    const int filled = static_cast<int>(kBarWidth * done_ / std::max<std::size_t>(total_, 1));
    err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] " << done_ << '/'
         << total_ << ", " << static_cast<long>(rate) << "/s";
    if (rate > 0) err_ << ", " << Duration(static_cast<double>(total_ - done_) / rate) << " left";
    err_ << "\x1b[K" << std::flush;
    shown_ = true;
  }
  void ClearBar() {
    if (shown_) err_ << "\r\x1b[K";
    shown_ = false;
  }

  std::mutex mutex_;
  std::ostream& err_;
  bool progress_;
  std::size_t total_;
  std::size_t done_ = 0;
  std::size_t failed_ = 0;
  Clock::time_point start_;
  Clock::time_point lastShown_{};
  bool shown_ = false;
};

}  // namespace

std::optional<Shard> ParseShard(const std::string& text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return std::nullopt;
  const auto index = ParseWhole(std::string_view(text).substr(0, slash));
  const auto count = ParseWhole(std::string_view(text).substr(slash + 1));
  if (!index || !count || *index < 1 || *index > *count) return std::nullopt;
  return Shard{*index, *count};
}

std::optional<std::string> PlanBatch(const std::vector<std::string>& inputs,
                                     const std::string& folder, const std::string& extension,
                                     Shard shard, std::vector<BatchItem>& items) {
  std::vector<std::string> files;
  for (const std::string& input : inputs) {
    std::error_code error;
    if (fs::is_directory(input, error)) {
      for (std::string& file : OutlineFilesIn(input)) files.push_back(std::move(file));
    } else {
      files.push_back(input);
    }
  }
  std::map<std::string, std::string> inputOfOutput;
  for (std::size_t k = 0; k < files.size(); ++k) {
    if (k % shard.count != shard.index - 1) continue;
    fs::path output = fs::path(folder) / fs::path(files[k]).filename();
    output.replace_extension(extension);
    const auto [earlier, added] = inputOfOutput.emplace(output.string(), files[k]);
    if (!added) {
      return "'" + earlier->second + "' and '" + files[k] + "' would both write '" +
             output.string() + "'";
    }
    items.push_back({files[k], output.string()});
  }
  return std::nullopt;
}

std::vector<std::string> AddNavMeshes(const TList<TList<CFloor>>& buildings,
                                      const std::vector<FinishedBuilding>* finished,
                                      const std::vector<TypedBuilding>* typed,
                                      const std::vector<FurnishedBuilding>* furnished, OutputSettings& output) {
  const bool carries = output.exportFormat == ExportFormat::kGlb || output.exportFormat == ExportFormat::kGltf ||
                       output.exportFormat == ExportFormat::kNavMesh;
  if (!carries || finished == nullptr) return {};
  const NavScale scale{output.scene.metresPerUnit, output.scene.storeyHeight.value_or(kStoreyRise * output.scene.metresPerUnit)};
  const std::vector<NavBuilding> navs = NavigateBuildings(buildings, *finished, typed, furnished, scale, output.agent);
  std::vector<std::string> notes;
  output.scene.navMeshes.clear();
  for (std::size_t b = 0; b < navs.size(); ++b) {
    output.scene.navMeshes.push_back(navs[b].mesh ? navs[b].mesh->GetPolygons() : NavPolygons{});
    for (std::string& note : UnreachableNotes(static_cast<int>(b), navs[b])) notes.push_back(std::move(note));
  }
  return notes;
}

std::optional<std::string> RunBatchItem(const BatchItem& item, const GenerationSettings& settings,
                                        const OutputSettings& output,
                                        const OutputWriters* writers) {
  try {
    TList<CPolygon2> loops;
    if (auto problem = ReadOutlineLoops(item.input, loops)) return problem;
    if (!output.exportFormat) return WriteThroughFile(item, loops, settings, output, writers);
    DesignObserver silent;
    const TList<TList<CFloor>> buildings = GenerateFloors(loops, settings, silent);
    const auto finished = FinishedOf(buildings, settings);
    const auto typed = finished ? TypeBuildings(buildings, *finished, settings) : std::nullopt;
    const auto furnished = finished ? FurnishBuildings(buildings, *finished, typed, settings) : std::nullopt;
    OutputSettings navigated = output;
    AddNavMeshes(buildings, finished ? &*finished : nullptr, typed ? &*typed : nullptr,
                 furnished ? &*furnished : nullptr, navigated);
    std::string problem;
    if (!writers->exportBuildings(buildings, finished ? &*finished : nullptr, navigated.scene,
                                  *output.exportFormat, item.output, problem, {item.input},
                                  typed ? &*typed : nullptr, furnished ? &*furnished : nullptr)) {
      return problem;
    }
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return "out of memory: '" + item.input + "' is too large to generate";
  }
}

int RunBatch(const std::vector<BatchItem>& items, int threads, bool progress, std::ostream& err,
             const std::function<std::optional<std::string>(const BatchItem&)>& run) {
  BatchReport report(err, progress, items.size());
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t k = next++; k < items.size(); k = next++) report.Done(run(items[k]));
  };
  const std::size_t workers =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), items.size());
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < workers; ++t) pool.emplace_back(work);
  work();
  for (std::thread& thread : pool) thread.join();
  return report.Finish();
}

}  // namespace quarn
