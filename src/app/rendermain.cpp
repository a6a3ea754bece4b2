// quarn-render: generates the buildings of an outline file as the view does
// and draws them with the view's own drawing into an offscreen window, one
// PNG picture per rendering style. No display is needed.
//
// Exit codes: 0 success; 1 no GL context, an output that cannot be written or
// a bad outline; 2 a usage error. Every error is one line on standard error.

#include <CLI/CLI.hpp>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/cmodeview.h"
#include "app/viewpicture.h"
#include "app/viewwalk.h"
#include "io/atomicfile.h"
#include "building/cbuilding.h"
#include "building/cboxscore.h"
#include "finish/stair.h"
#include "generate.h"
#include "glwindow.h"
#include "main.h"
#include "render/ctextureset.h"
#include "texturefiles.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFailure = 1;
constexpr int kUsage = 2;
constexpr int kMaxSide = 8192;
// As quarn-gen allows.
constexpr std::uint32_t kMaxStoreys = 1000;

int Fail(int code, const std::string& message) {
  std::cerr << "quarn-render: " << message << '\n';
  return code;
}

struct Options {
  std::string style = "4";
  std::string steps = "all";
  std::string size = "800x600";
  std::string camera = "fit";
  std::string storeys = "1";
  bool finished = false;
  std::string output;
  std::string outline;
};

// What one run draws: the styles in order, each into its own file.
struct Job {
  std::vector<int> styles;
  std::vector<std::string> outputs;
  std::uint32_t steps = STEP_BUDGET_UNLIMITED;
  int width = 0;
  int height = 0;
  bool fitCamera = true;
  bool stairCamera = false;
  std::uint32_t storeys = 1;
  bool finished = false;
};

// "WxH" with both sides from 1 to kMaxSide.
std::optional<std::pair<int, int>> ParseSize(const std::string& text) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  int sides[2] = {0, 0};
  const std::string parts[2] = {text.substr(0, x), text.substr(x + 1)};
  for (int i = 0; i < 2; ++i) {
    const char* end = parts[i].data() + parts[i].size();
    const auto result = std::from_chars(parts[i].data(), end, sides[i]);
    if (parts[i].empty() || result.ec != std::errc() || result.ptr != end || sides[i] < 1 ||
        sides[i] > kMaxSide) {
      return std::nullopt;
    }
  }
  return std::make_pair(sides[0], sides[1]);
}

// FILE itself for one style; FILE-1.png to FILE-4.png (the extension kept)
// for all of them.
std::vector<std::string> OutputPaths(const std::string& output, bool allStyles) {
  if (!allStyles) return {output};
  std::vector<std::string> paths;
  const fs::path path(output);
  for (int style = 1; style <= 4; ++style) {
    fs::path numbered = path;
    numbered.replace_filename(path.stem().string() + "-" + std::to_string(style) +
                              path.extension().string());
    paths.push_back(numbered.string());
  }
  return paths;
}

// Turns the option texts into a job; on a usage error returns the message.
std::optional<std::string> ReadJob(const Options& options, Job& job) {
  const auto size = ParseSize(options.size);
  if (!size) {
    return "--size takes WIDTHxHEIGHT, each 1 to " + std::to_string(kMaxSide) + ", not '" +
           options.size + "'";
  }
  // The extension keeps a slip of the arguments from overwriting the outline.
  std::string extension = fs::path(options.output).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension != ".png") return "-o names a PNG file (FILE.png), not '" + options.output + "'";
  job.width = size->first;
  job.height = size->second;
  if (options.steps != "all") {
    const char* end = options.steps.data() + options.steps.size();
    const auto result = std::from_chars(options.steps.data(), end, job.steps);
    if (options.steps.empty() || result.ec != std::errc() || result.ptr != end) {
      return "--steps takes a number of design steps or 'all', not '" + options.steps + "'";
    }
  }
  const bool allStyles = options.style == "all";
  job.styles = allStyles ? std::vector<int>{1, 2, 3, 4} : std::vector<int>{std::stoi(options.style)};
  job.outputs = OutputPaths(options.output, allStyles);
  job.fitCamera = options.camera == "fit";
  job.stairCamera = options.camera == "stair";
  const char* storeysEnd = options.storeys.data() + options.storeys.size();
  const auto storeys = std::from_chars(options.storeys.data(), storeysEnd, job.storeys);
  if (options.storeys.empty() || storeys.ec != std::errc() || storeys.ptr != storeysEnd ||
      job.storeys < 1 || job.storeys > kMaxStoreys) {
    return "--storeys takes a number from 1 to " + std::to_string(kMaxStoreys) + ", not '" +
           options.storeys + "'";
  }
  job.finished = options.finished;
  return std::nullopt;
}

// The folder the textures are loaded from: the one the view would load them
// from (tex/ of the working directory, else the installed one) when it holds
// all ten files, otherwise the standard pictures written into a temporary
// folder for this run.
class TextureFolder {
 public:
  TextureFolder() = default;
  TextureFolder(const TextureFolder&) = delete;
  TextureFolder& operator=(const TextureFolder&) = delete;
  ~TextureFolder() {
    std::error_code ignored;
    if (!temporary_.empty()) fs::remove_all(temporary_, ignored);
  }

  // False, saying why, when the textures cannot be written.
  bool Prepare(std::string& problem) {
    if (const auto found = quarn::FindTextureDirectory(quarn::RunningExecutable())) {
      path_ = *found;
      return true;
    }
    std::string pattern = (fs::temp_directory_path() / "quarn-render-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      problem = "cannot make a folder for the textures in " + fs::temp_directory_path().string();
      return false;
    }
    temporary_ = pattern;
    const fs::path failed =
        quarn::tools::WriteTextureFiles(temporary_, quarn::tools::TextureFiles());
    if (!failed.empty()) {
      problem = "cannot write the texture " + failed.string();
      return false;
    }
    path_ = temporary_.string();
    return true;
  }

  const std::string& Path() const { return path_; }

 private:
  fs::path temporary_;
  std::string path_;
};

class RenderApp : public App {};

// A hidden window whose creation draws every picture of the job with the
// view and writes it to its file's stream, then closes the window.
class PictureWindow : public GLWindow {
 public:
  PictureWindow(CModeView& view, const Job& job, const std::string& textures,
                std::vector<std::unique_ptr<quarn::AtomicFile>>& files)
      : view_(view), job_(job), textures_(textures), files_(files) {}

  void OnCreate() override {
    Draw();
    Close();
  }
  // Nothing to show: the pictures are drawn once, in OnCreate.
  void OnDisplay() override {}

  bool HasDrawn() const { return drawn_; }
  const std::string& Problem() const { return problem_; }

 private:
  // The eyes of a walker who walked from the foot of the first building's
  // first stair halfway up it, looking up the climb.
  bool PlaceOnStair() {
    const TList<TList<CFloor>>& buildings = view_.GetBuildings().buildings;
    if (buildings.GetSize() == 0) return false;
    const quarn::FinishedBuilding finished = quarn::FinishBuilding(buildings[0]);
    if (finished.stairs.empty() || !finished.stairs[0]) return false;
    const quarn::Stair& stair = *finished.stairs[0];
    const CVector2 foot = quarn::GetStairFoot(stair.footprint, stair.climb).GetCentre();
    const CVector2 head = quarn::GetStairHead(stair.footprint, stair.climb).GetCentre();
    const float yaw = std::atan2(head.y - foot.y, head.x - foot.x);
    quarn::Walker walker(ViewWalkGeometry(buildings, quarn::LayBuildings(buildings, nullptr, 1.0f)), {}, {}, CVector3(foot.x, foot.y, 0.1f), yaw);
    constexpr float kFrame = 1.0f / 60.0f;
    constexpr float kHalfwaySeconds = 2.4f;  // 3.4 m at 1.4 m/s: the foot square and half the run
    for (float t = 0; t < kHalfwaySeconds; t += kFrame) walker.Step({1.0f, 0.0f, false, false}, yaw, kFrame);
    CCamera camera = view_.GetCamera();
    const CVector3 eyes = walker.GetEyes();
    camera.Place(CVector3(eyes.x, eyes.y, eyes.z / ViewWalk::kMetresPerHeightUnit),
                 90.0f - yaw * 57.29577951f);
    view_.SetCamera(camera);
    return true;
  }

  void Draw() {
    if (GetWidth() != job_.width || GetHeight() != job_.height) {
      problem_ = "the offscreen window is " + std::to_string(GetWidth()) + "x" +
                 std::to_string(GetHeight()) + ", not the size asked for";
      return;
    }
    if (const auto missing = TextureSet().LoadAllFrom(textures_)) quarn::ExitForMissingTexture(*missing);
    view_.Enter();
    view_.Resize(job_.width, job_.height);
    if (job_.fitCamera) {
      // Storeys stand on each other, finished or not.
      const float height = quarn::kStoreyRise * static_cast<float>(job_.storeys);
      view_.SetCamera(quarn::FitCamera(quarn::BuildingsArea(view_),
                                       static_cast<double>(job_.width) / job_.height, height));
    }
    if (job_.stairCamera && !PlaceOnStair()) {
      problem_ = "--camera stair: the first building has no stair (give --finished --storeys 2 or more)";
      return;
    }
    for (std::size_t i = 0; i < job_.styles.size(); ++i) {
      view_.SetRenderStyle(job_.styles[i]);
      const std::vector<std::uint8_t> png =
          quarn::EncodePng(quarn::DrawViewPicture(view_, job_.width, job_.height));
      if (png.empty()) {
        problem_ = "cannot encode the picture of style " + std::to_string(job_.styles[i]);
        return;
      }
      files_[i]->Stream().write(reinterpret_cast<const char*>(png.data()),
                                static_cast<std::streamsize>(png.size()));
    }
    drawn_ = true;
  }

  CModeView& view_;
  const Job& job_;
  std::string textures_;
  std::vector<std::unique_ptr<quarn::AtomicFile>>& files_;
  bool drawn_ = false;
  std::string problem_;
};

int Run(const Options& options, int argc, char** argv) {
  Job job;
  if (const auto problem = ReadJob(options, job)) return Fail(kUsage, *problem);
  TList<CPolygon2> loops;
  if (const auto problem = quarn::ReadOutlineLoops(options.outline, loops)) {
    return Fail(kFailure, *problem);
  }

  // The design trace is the view's console output; a picture has no use for it.
  CModeView view;
  view.SetDesignObserver(nullptr);
  view.Build(loops, job.storeys);
  view.SetStep(job.steps);
  view.SetFinished(job.finished);

  std::string problem;
  std::vector<std::unique_ptr<quarn::AtomicFile>> files;
  for (const std::string& path : job.outputs) {
    files.push_back(std::make_unique<quarn::AtomicFile>(path));
    if (!files.back()->Open(problem)) return Fail(kFailure, problem);
  }
  TextureFolder textures;
  if (!textures.Prepare(problem)) return Fail(kFailure, problem);

  // Drawing needs no display: SDL's offscreen driver, unless told otherwise.
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  RenderApp app;
  PictureWindow window(view, job, textures.Path(), files);
  window.SetTitle("quarn-render");
  window.SetSize(job.width, job.height);
  quarn::RunConsoleProgram(argc, argv);
  if (!window.Problem().empty()) return Fail(kFailure, window.Problem());
  if (!window.HasDrawn()) return Fail(kFailure, "no OpenGL context to draw in");
  for (const auto& file : files) {
    if (!file->Commit(problem)) return Fail(kFailure, problem);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App cli(
      "Generates the buildings of an outline file as the view does and draws them offscreen "
      "with the view's drawing, writing PNG pictures. No display is needed.",
      "quarn-render");
  cli.add_option("--style", options.style,
                 "Rendering style: 1 design, 2 wireframe, 3 solid, 4 textured, or all "
                 "(FILE-1.png to FILE-4.png)")
      ->type_name("1|2|3|4|all")
      ->check(CLI::IsMember({"1", "2", "3", "4", "all"}))
      ->capture_default_str();
  cli.add_option("--steps", options.steps, "Design steps per building, or 'all'")
      ->type_name("N|all")
      ->capture_default_str();
  cli.add_option("--size", options.size, "Picture size in pixels")
      ->type_name("WxH")
      ->capture_default_str();
  cli.add_option("--camera", options.camera,
                 "fit: from above at an angle, the buildings filling the frame; start: the "
                 "view's start camera; stair: a walker's eyes halfway up the first stair")
      ->type_name("fit|start|stair")
      ->check(CLI::IsMember({"fit", "start", "stair"}))
      ->capture_default_str();
  cli.add_option("--storeys", options.storeys, "Storeys per building")
      ->type_name("N")
      ->capture_default_str();
  cli.add_flag("--finished", options.finished,
               "Draw the finished buildings: storeys stacked, entrance and stairs");
  cli.add_option("-o,--output", options.output, "PNG file to write")
      ->type_name("FILE.png")
      ->required();
  cli.add_option("OUTLINE_FILE", options.outline, "Outline loops, one a line")
      ->type_name("FILE")
      ->required();
  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << cli.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    return Fail(kUsage, std::string(error.what()) + " (see --help)");
  }
  try {
    return Run(options, argc, argv);
  } catch (const std::exception& error) {
    // Anything thrown while generating, drawing or encoding ends the run
    // with one line; the temporary files went as the stack unwound.
    return Fail(kFailure, "cannot write '" + options.output + "': " + error.what());
  }
}
