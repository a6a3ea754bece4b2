// Runs the built quarn-gen binary: golden dumps of the examples, the trace
// beside the dump, and every class of bad input and usage.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "geom/outlinecheck.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = QUARN_SOURCE_DIR;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Where two long texts first differ, with some text of each around it;
// empty when they are equal.
std::string FirstDifference(const std::string& actual, const std::string& expected) {
  if (actual == expected) return "";
  const auto at = static_cast<std::size_t>(
      std::mismatch(actual.begin(), actual.begin() + std::min(actual.size(), expected.size()),
                    expected.begin())
          .first -
      actual.begin());
  const std::size_t from = at < 60 ? 0 : at - 60;
  return "byte " + std::to_string(at) + ": actual ..." + actual.substr(from, 120) +
         "\nexpected ..." + expected.substr(from, 120);
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Every test gets a scratch folder of its own and runs the binary in it.
class QuarnGenTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = fs::temp_directory_path() / ("quarn-gen-" + std::to_string(getpid()) + "-" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs quarn-gen with the arguments (already quoted where needed) from
  // the scratch folder, after the shell commands of prefix.
  Result Run(const std::string& args, const std::string& prefix = "") {
    const fs::path out = dir_ / ".stdout";
    const fs::path err = dir_ / ".stderr";
    const std::string command = "cd " + Quoted(dir_.string()) + " && " + prefix +
                                Quoted(QUARN_GEN_PATH) + " " + args + " >" + Quoted(out.string()) +
                                " 2>" + Quoted(err.string()) + " </dev/null";
    const int status = std::system(command.c_str());
    Result result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadText(out);
    result.err = ReadText(err);
    fs::remove(out);
    fs::remove(err);
    return result;
  }

  std::string Example(const std::string& name) {
    return Quoted((kSourceDir / "examples" / name).string());
  }

  // The files the run left in the scratch folder, apart from the given ones.
  std::vector<std::string> FilesBesides(const std::vector<std::string>& expected) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      const std::string name = entry.path().filename().string();
      if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
        files.push_back(name);
      }
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  fs::path dir_;
};

struct GoldenCase {
  const char* name;
  const char* args;  // before the outline file
  const char* example;
  const char* golden;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

class QuarnGenGoldenTest : public QuarnGenTest, public testing::WithParamInterface<GoldenCase> {};

// Set QUARN_UPDATE_GOLDEN=1 to rewrite the golden files after a deliberate
// change of the generator, then inspect the difference.
TEST_P(QuarnGenGoldenTest, DumpMatchesTheGoldenFile) {
  const GoldenCase& c = GetParam();
  const Result result = Run(std::string(c.args) + " " + Example(c.example));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const fs::path golden = kSourceDir / "tests/cli/golden" / c.golden;
  if (std::getenv("QUARN_UPDATE_GOLDEN") != nullptr) WriteText(golden, result.out);
  EXPECT_EQ(FirstDifference(result.out, ReadText(golden)), "");
}

INSTANTIATE_TEST_SUITE_P(
    Examples, QuarnGenGoldenTest,
    testing::Values(GoldenCase{"Square", "--design-only", "square.quarn", "square.json"},
                    GoldenCase{"LShape", "--design-only -f json", "l-shape.quarn", "l-shape.json"},
                    GoldenCase{"SquareStoppedAfterThreeSteps", "--design-only --steps 3",
                               "square.quarn", "square-steps3.json"},
                    GoldenCase{"SquareFinishedTwoStoreys", "--storeys 2 --programme none", "square.quarn",
                               "square-finished2.json"}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

TEST_F(QuarnGenTest, WritesDumpAndTraceToTheirFiles) {
  const Result toFiles = Run("--trace trace.txt -o plan.json " + Example("courtyard.quarn"));
  ASSERT_EQ(toFiles.exitCode, 0) << toFiles.err;
  EXPECT_EQ(toFiles.out, "");
  const std::string trace = ReadText(dir_ / "trace.txt");
  EXPECT_EQ(trace.rfind("\n=============\n", 0), 0u) << trace.substr(0, 40);

  const Result toStdout = Run(Example("courtyard.quarn"));
  EXPECT_EQ(ReadText(dir_ / "plan.json"), toStdout.out);

  const Result traceToStdout = Run("--trace - -o other.json " + Example("courtyard.quarn"));
  ASSERT_EQ(traceToStdout.exitCode, 0) << traceToStdout.err;
  EXPECT_EQ(traceToStdout.out, trace);
  EXPECT_EQ(FilesBesides({}), (std::vector<std::string>{"other.json", "plan.json", "trace.txt"}))
      << "no temporary file is left";
}

// What a finished building lacks is said on standard error, in every
// format; the design alone has nothing to say.
TEST_F(QuarnGenTest, SaysWhatTheFinishedBuildingsLack) {
  const std::string note =
      "quarn-gen: note: building 0: no entrance: the ground storey is not complete\n"
      "quarn-gen: note: building 0: house programme: no room typed: no storey is complete\n";
  for (const char* args : {"--steps 3", "--steps 3 -o plan.png", "--steps 3 -o scene.glb"}) {
    const Result result = Run(std::string(args) + " " + Example("square.quarn"));
    EXPECT_EQ(result.exitCode, 0) << args;
    EXPECT_EQ(result.err, note) << args;
  }
  EXPECT_EQ(Run("--design-only --steps 3 " + Example("square.quarn")).err, "");
}

TEST_F(QuarnGenTest, WithoutTraceOptionNoTraceIsWritten) {
  const Result result = Run(Example("l-shape.quarn"));
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out.find("====="), std::string::npos);
  EXPECT_TRUE(nlohmann::json::accept(result.out));
}

TEST_F(QuarnGenTest, CounterClockwiseLoopGivesTheClockwiseLoopsPlan) {
  WriteText(dir_ / "ccw.quarn", "(0,0)(15,0)(15,15)(0,15)*\n");
  const Result reversed = Run("ccw.quarn");
  ASSERT_EQ(reversed.exitCode, 0) << reversed.err;
  EXPECT_EQ(reversed.out, Run(Example("square.quarn")).out);
}

// Seed 0 is the design's own run; with a variance other seeds give other
// plans, each made again the same; without one the seed decides nothing.
TEST_F(QuarnGenTest, TheSeedVariesPlansOnlyWithAVariance) {
  const std::string example = Example("l-shape.quarn");
  const auto plan = [&](const std::string& args) {
    const Result result = Run(args + " " + example);
    EXPECT_EQ(result.exitCode, 0) << args << ": " << result.err;
    return result.out;
  };
  EXPECT_EQ(plan("--seed 0"), plan(""));
  EXPECT_EQ(plan("--seed 7"), plan(""));
  EXPECT_NE(plan("--variance 25 --seed 7"), plan("--variance 25"));
  EXPECT_EQ(plan("--variance 25 --seed 7"), plan("--variance 25 --seed 7"));
}

TEST_F(QuarnGenTest, HelpShowsTheUsage) {
  const Result result = Run("--help");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.out.find("OUTLINE_FILE"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("--steps"), std::string::npos) << result.out;
}

// -f names the format; without it, the output file's extension does.
TEST_F(QuarnGenTest, DrawsPlansInTheFormatNamed) {
  struct Case {
    std::string args;
    const char* file;
    std::string magic;
  };
  for (const Case& c : {Case{"-o plan.svg", "plan.svg", "<?xml"}, Case{"-o plan.pdf", "plan.pdf", "%PDF-"},
                        Case{"-o plan.PNG", "plan.PNG", "\x89PNG"},
                        Case{"-f png -o plan.out", "plan.out", "\x89PNG"},
                        Case{"-f json -o plan.png", "plan.png", "{\"format\":\"quarn-plan\""}}) {
    const Result result = Run(c.args + " " + Example("l-shape.quarn"));
    EXPECT_EQ(result.exitCode, 0) << c.args << ": " << result.err;
    EXPECT_TRUE(ReadText(dir_ / c.file).starts_with(c.magic)) << c.args;
  }
}

// -o - writes a format of one file to standard output: the bytes -o FILE
// writes, and no file. (The PDF's date comes from SOURCE_DATE_EPOCH.)
TEST_F(QuarnGenTest, DashWritesEveryOneFileFormatToStandardOutput) {
  for (const std::string format : {"json", "svg", "pdf", "png", "glb"}) {
    const std::string file = "plan." + format;
    const std::string date = "SOURCE_DATE_EPOCH=1 ";
    const Result toFile = Run("-f " + format + " -o " + file + " " + Example("l-shape.quarn"), date);
    const Result toOutput = Run("-f " + format + " -o - " + Example("l-shape.quarn"), date);
    EXPECT_EQ(toOutput.exitCode, 0) << format << ": " << toOutput.err;
    EXPECT_FALSE(toOutput.out.empty()) << format;
    EXPECT_TRUE(toOutput.out == ReadText(dir_ / file)) << format;
    EXPECT_EQ(FilesBesides({file}), std::vector<std::string>{}) << format;
    fs::remove(dir_ / file);
  }
}

struct BadCase {
  const char* name;
  std::optional<std::string> outline;  // contents of outline.quarn; none: no file
  const char* args;                    // before the outline file
  int exitCode;
  std::string message;  // what follows "quarn-gen: " on the one line of standard error
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class QuarnGenBadInputTest : public QuarnGenTest, public testing::WithParamInterface<BadCase> {};

// Each bad input ends with one line naming the file and line, the exit code
// of its class, and no output file: neither the new one nor a temporary, and
// an older file at the output path is kept.
TEST_P(QuarnGenBadInputTest, FailsWithOneLineAndLeavesNoOutput) {
  const BadCase& c = GetParam();
  if (c.outline) WriteText(dir_ / "outline.quarn", *c.outline);
  WriteText(dir_ / "old.json", "earlier plan\n");
  const Result result =
      Run(std::string(c.args) + " -o new.json --trace trace.txt outline.quarn");
  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_EQ(result.err, "quarn-gen: " + std::string(c.message) + "\n");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(FilesBesides({"outline.quarn", "old.json"}), std::vector<std::string>{});

  const Result overwrite = Run(std::string(c.args) + " -o old.json outline.quarn");
  EXPECT_EQ(overwrite.exitCode, c.exitCode);
  EXPECT_EQ(ReadText(dir_ / "old.json"), "earlier plan\n");
}

const std::string kSquare = "(0,15)(15,15)(15,0)(0,0)*\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs, QuarnGenBadInputTest,
    testing::Values(
        BadCase{"MissingFile", std::nullopt, "", 1,
                "cannot open 'outline.quarn': No such file or directory"},
        BadCase{"NotThePolygonForm", kSquare + "\n(0,0)(0,5)[5,5](5,0)*\n", "", 1,
                "outline.quarn:3: expected '(' or the closing '*' at column 11, found '['"},
        BadCase{"BinaryGarbage",
                std::string("\x7f"
                            "ELF\x02\x01\x01",
                            7),
                "", 1,
                "outline.quarn:1: expected '(' or the closing '*' at column 1, found byte 127"},
        BadCase{"EmptyFile", "", "", 1, "outline.quarn: no outline loop found"},
        BadCase{"OnlyEmptyLoops", "*\n\n", "", 1, "outline.quarn: no outline loop found"},
        BadCase{"TooFewVertices", kSquare + "(0,0)(0,5)(5,5)*\n", "", 1,
                "outline.quarn:2: a loop needs at least 4 vertices, this one has 3"},
        BadCase{"ZeroLengthEdge", "(0,0)(0,5)(0,5)(5,5)(5,0)*\n", "", 1,
                "outline.quarn:1: edge (0,5)-(0,5) has zero length"},
        BadCase{"DiagonalEdge", "(0,0)(0,5)(5,5)(6,0)*\n", "", 1,
                "outline.quarn:1: edge (5,5)-(6,0) is neither horizontal nor vertical"},
        BadCase{"EdgesCross", "(0,0)(0,4)(4,4)(4,2)(-2,2)(-2,0)*\n", "", 1,
                "outline.quarn:1: edges (0,0)-(0,4) and (4,2)-(-2,2) cross or touch at (0,2)"},
        BadCase{"EdgesTouch", "(0,0)(0,2)(2,2)(2,4)(4,4)(4,2)(2,2)(2,0)*\n", "", 1,
                "outline.quarn:1: edges (0,2)-(2,2) and (4,2)-(2,2) cross or touch at (2,2)"},
        BadCase{"EdgesRunBack", "(0,0)(0,7)(0,5)(5,5)(5,0)*\n", "", 1,
                "outline.quarn:1: edges (0,0)-(0,7) and (0,7)-(0,5) run back over each other"},
        BadCase{"CoordinateBeyondTheLimit", "(0,0)(0,20001)(5,20001)(5,0)*\n", "", 1,
                "outline.quarn:1: coordinate 20001 at column 9 lies beyond the limit of 20000"},
        BadCase{"TooManyCellsToDesign",
                "(-20000,20000)(20000,20000)(20000,-20000)(-20000,-20000)*\n", "", 1,
                "outline.quarn: the outline would have at least 32653062 cells; the designer "
                "takes at most " + std::to_string(quarn::kOutlineCellLimit)},
        BadCase{"UnknownOption", kSquare, "--verbose", 2,
                "The following argument was not expected: --verbose (see --help)"},
        BadCase{"StepsNotANumber", kSquare, "--steps some", 2,
                "--steps takes a number of design steps or 'all', not 'some'"},
        BadCase{"NegativeSteps", kSquare, "--steps -1", 2,
                "--steps takes a number of design steps or 'all', not '-1'"},
        BadCase{"StepsBeyond32Bits", kSquare, "--steps 4294967296", 2,
                "--steps takes a number of design steps or 'all', not '4294967296'"},
        BadCase{"NoStoreys", kSquare, "--storeys 0", 2,
                "--storeys takes a number from 1 to 1000, not '0'"},
        BadCase{"NegativeSeed", kSquare, "--seed -1", 2,
                "--seed takes a number from 0 to 2147483647, not '-1'"},
        BadCase{"RoomSizeWithUnit", kSquare, "--room-size 45m", 2,
                "--room-size takes a whole number of cells, not '45m'"},
        BadCase{"UnknownFormat", kSquare, "-f xml", 2,
                "--format: xml not in {json,svg,pdf,png,glb,gltf,obj,fbx,navmesh} (see --help)"},
        BadCase{"PlanScaleZero", kSquare, "-f png --px-per-unit 0", 2,
                "--px-per-unit: Value 0 not in range 1 to 200 (see --help)"},
        BadCase{"UnitNotAPositiveNumber", kSquare, "-f glb --unit 0", 2,
                "--unit takes metres per grid unit from 0.000001 to 1000000, not '0'"},
        BadCase{"StoreyHeightNotANumber", kSquare, "-f glb --storey-height 3m", 2,
                "--storey-height takes metres from 0.000001 to 1000000, not '3m'"},
        BadCase{"EntranceOfTheDesignOnly", kSquare, "--design-only --entrance-side north", 2,
                "--entrance-side finishes the buildings: not with --design-only"},
        BadCase{"ProgrammeOfTheDesignOnly", kSquare, "--design-only --programme house", 2,
                "--programme types finished buildings: not with --design-only"},
        BadCase{"ProgrammeFileMissing", kSquare, "--programme missing.json", 1,
                "cannot open 'missing.json': No such file or directory"},
        BadCase{"ProgrammeFileNotJson", kSquare, "--programme outline.quarn", 1,
                "outline.quarn: malformed JSON at byte 1"}),
    [](const testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

TEST_F(QuarnGenTest, UsageErrorsWithoutAFileToRead) {
  WriteText(dir_ / "outline.quarn", kSquare);
  struct Case {
    const char* args;
    const char* message;
  };
  for (const Case& c : {
           Case{"", "OUTLINE_FILE is required (see --help)"},
           Case{"--trace - outline.quarn",
                "--trace - needs -o FILE: the plan already goes to "
                "standard output"},
           Case{"-o plan.json --trace plan.json outline.quarn",
                "-o and --trace name the same file"},
           Case{"-o outline.quarn outline.quarn", "an output would overwrite the outline file"},
           Case{"-f glb outline.quarn", "--format glb writes files: give -o FILE"},
           Case{"-f gltf -o - outline.quarn",
                "--format gltf writes several files: give -o FILE, not -o -"},
           Case{"--trace - -o - outline.quarn",
                "--trace - needs -o FILE: the plan already goes to standard output"},
       }) {
    const Result result = Run(c.args);
    EXPECT_EQ(result.exitCode, 2) << c.args;
    EXPECT_EQ(result.err, "quarn-gen: " + std::string(c.message) + "\n") << c.args;
  }
  EXPECT_EQ(ReadText(dir_ / "outline.quarn"), kSquare);
  EXPECT_EQ(FilesBesides({"outline.quarn"}), std::vector<std::string>{});
}

struct ExportCase {
  const char* args;  // before the outline file
  std::vector<std::string> files;
};

// The format follows -f, else -o's extension; the files of a format land
// together, and a failed write (here no room for the files) keeps the
// earlier ones and leaves no temporary.
TEST_F(QuarnGenTest, ExportsLandTheirFilesWholeOrNotAtAll) {
  for (const ExportCase& c : {
           ExportCase{"-o l.glb", {"l.glb"}},
           ExportCase{"-o l.GLTF", {"l-brick.png", "l-floor.png", "l.GLTF", "l.bin"}},
           ExportCase{"-f obj -o l.obj", {"l-brick.png", "l-floor.png", "l.mtl", "l.obj"}},
           ExportCase{"--materials plain --unit 0.5 -o l.fbx", {"l.fbx"}},
       }) {
    const Result result = Run(std::string(c.args) + " " + Example("l-shape.quarn"));
    EXPECT_EQ(result.exitCode, 0) << c.args << ": " << result.err;
    EXPECT_EQ(result.out, "") << c.args;
    EXPECT_EQ(FilesBesides({}), c.files) << c.args;
    for (const std::string& file : c.files) fs::remove(dir_ / file);
  }
  ASSERT_EQ(Run("-o l.gltf " + Example("l-shape.quarn")).exitCode, 0);
  const std::string earlier = ReadText(dir_ / "l.gltf");
  const Result full =
      Run("-o l.gltf --steps 30 " + Example("l-shape.quarn"), "trap '' XFSZ; ulimit -f 1; ");
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_EQ(full.err, "quarn-gen: cannot write 'l.gltf': File too large\n");
  EXPECT_EQ(ReadText(dir_ / "l.gltf"), earlier);
  const Result clash = Run("-o l.gltf --trace l.bin " + Example("l-shape.quarn"));
  EXPECT_EQ(clash.exitCode, 1);
  EXPECT_EQ(clash.err, "quarn-gen: cannot write 'l.bin': it is another file of the run\n");
  EXPECT_EQ(FilesBesides({}),
            (std::vector<std::string>{"l-brick.png", "l-floor.png", "l.bin", "l.gltf"}));
}

TEST_F(QuarnGenTest, UnwritableOutputIsAnError) {
  for (const char* output : {"no-such-folder/plan.json", "no-such-folder/l.gltf"}) {
    const Result result = Run("-o " + std::string(output) + " " + Example("square.quarn"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "quarn-gen: cannot create '" + std::string(output) +
                              "': No such file or directory\n");
  }
}

// An interrupted run removes its temporary files: the temporary plan is
// opened before the design, and a square this large takes seconds even in
// a release build, so it is caught while the file exists. (A background
// job of a script ignores SIGINT, so the test sends SIGTERM.)
TEST_F(QuarnGenTest, InterruptLeavesNoTemporaryFile) {
  WriteText(dir_ / "large.quarn", "(0,1024)(1024,1024)(1024,0)(0,0)*\n");
  const std::string command = "cd " + Quoted(dir_.string()) + " || exit 1; " +
                              Quoted(QUARN_GEN_PATH) +
                              " -o plan.json --trace trace.txt large.quarn 2>/dev/null &"
                              " pid=$!; for i in $(seq 100); do"
                              " ls plan.json.tmp-* >/dev/null 2>&1 && break; sleep 0.05; done;"
                              " kill -TERM $pid; wait $pid; echo $? > status";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadText(dir_ / "status"), std::to_string(128 + SIGTERM) + "\n");
  EXPECT_EQ(FilesBesides({"large.quarn", "status"}), std::vector<std::string>{});
}

// The plan and 3D writers are a module beside the binary, loaded only for
// their formats: a binary without it still writes the plan dump, and refuses
// the other formats with one line and no output.
TEST_F(QuarnGenTest, WithoutItsWritersModuleOnlyThePlanDumpIsWritten) {
  fs::copy_file(QUARN_GEN_PATH, dir_ / "quarn-gen");
  auto run = [&](const std::string& output) {
    const std::string command = "cd " + Quoted(dir_.string()) + " && ./quarn-gen -o " + output +
                                " " + Example("l-shape.quarn") + " 2>err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("plan.json"), 0);
  EXPECT_EQ(ReadText(dir_ / "plan.json"), Run(Example("l-shape.quarn")).out);
  for (const char* output : {"l.svg", "l.glb"}) {
    EXPECT_EQ(run(output), 1) << output;
    const std::string err = ReadText(dir_ / "err.txt");
    EXPECT_EQ(err.rfind("quarn-gen: cannot load the plan and 3D writers: ", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
  EXPECT_EQ(FilesBesides({"quarn-gen", "plan.json", "err.txt"}), std::vector<std::string>{});
}

// An exception out of a writer used to escape quarn-gen (only running out
// of memory was caught): now it is one line naming the output, exit 1, the
// earlier file kept and no temporary left.
TEST_F(QuarnGenTest, AnExceptionFromAWriterFailsCleanly) {
  fs::copy_file(QUARN_GEN_PATH, dir_ / "quarn-gen");
  fs::copy_file(QUARN_GEN_THROWING_WRITERS, dir_ / "quarn-gen-writers.so");
  const struct {
    const char* output;
    const char* why;
  } cases[] = {{"l.svg", "the plan writer broke"}, {"l.glb", "the 3D writer broke"}};
  for (const auto& c : cases) {
    WriteText(dir_ / c.output, "earlier");
    const std::string command = "cd " + Quoted(dir_.string()) + " && ./quarn-gen -o " + c.output +
                                " " + Example("l-shape.quarn") + " 2>err.txt";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << c.output;
    EXPECT_EQ(ReadText(dir_ / "err.txt"),
              "quarn-gen: cannot write '" + std::string(c.output) + "': " + c.why + "\n");
    EXPECT_EQ(ReadText(dir_ / c.output), "earlier");
    EXPECT_EQ(FilesBesides({"quarn-gen", "quarn-gen-writers.so", "err.txt", c.output}),
              std::vector<std::string>{});
    fs::remove(dir_ / c.output);
  }
}

}  // namespace

// A batch writes, for every input, the bytes of the single-file run of that
// input (PDF is left out: it carries the time it was made); a bad input is reported on its own line and fails the run while
// the others still land.
TEST_F(QuarnGenTest, BatchOutputsAreTheSingleRunsOutputs) {
  fs::create_directories(dir_ / "in");
  const std::vector<std::string> stems = {"corridor", "courtyard", "l-shape", "square"};
  for (const std::string& stem : stems) {
    fs::copy_file(kSourceDir / "examples" / (stem + ".quarn"), dir_ / "in" / (stem + ".quarn"));
  }
  WriteText(dir_ / "in" / "broken.quarn", "(0,0)(5,0)*\n");
  for (const char* format : {"json", "svg", "glb", "obj"}) {
    SCOPED_TRACE(format);
    const std::string f = std::string(" -f ") + format;
    const Result batch = Run("--steps 40 -j 2 -o out" + f + " in");
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_NE(batch.err.find("quarn-gen: in/broken.quarn"), std::string::npos) << batch.err;
    EXPECT_NE(batch.err.find("quarn-gen: 4 of 5 written, 1 failed, in "), std::string::npos)
        << batch.err;
    for (const std::string& stem : stems) {
      const std::string name = stem + "." + format;
      ASSERT_EQ(Run("--steps 40 -o " + name + f + " in/" + stem + ".quarn").exitCode, 0);
      EXPECT_EQ(FirstDifference(ReadText(dir_ / "out" / name), ReadText(dir_ / name)), "") << name;
    }
    fs::remove_all(dir_ / "out");
  }
}

// The slices of --shard I/N are disjoint and together make the whole batch.
TEST_F(QuarnGenTest, ShardsSliceTheBatch) {
  for (int i = 0; i < 5; ++i) WriteText(dir_ / ("o" + std::to_string(i) + ".quarn"), "(0,0)(0,5)(5,5)(5,0)*\n");
  const std::string inputs = " o0.quarn o1.quarn o2.quarn o3.quarn o4.quarn";
  ASSERT_EQ(Run("--shard 1/2 -o a" + inputs).exitCode, 0);
  ASSERT_EQ(Run("--shard 2/2 -o b" + inputs).exitCode, 0);
  auto names = [](const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    return files;
  };
  EXPECT_EQ(names(dir_ / "a"), (std::vector<std::string>{"o0.json", "o2.json", "o4.json"}));
  EXPECT_EQ(names(dir_ / "b"), (std::vector<std::string>{"o1.json", "o3.json"}));
  const Result bad = Run("--shard 3/2 -o c" + inputs);
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_EQ(bad.err, "quarn-gen: --shard takes I/N with 1 <= I <= N, not '3/2'\n");
}
