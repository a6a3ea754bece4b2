#include "app/cmodeinput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "geom/outlinecheck.h"
#include "support/file_size_limit.h"
#include "support/scratch_folder.h"

namespace {

// Drives the editor frame by frame as the window does. A script is a list of
// blank-separated frames:
//   x,y     drag the cursor towards grid point (x,y) and press SPACE
//   d:dx,dy drag dx,dy pixels with the left button
//   m:dx,dy move dx,dy pixels with no button held
//   _       press SPACE where the cursor is
//   M R X S L  press that key
class Editor {
 public:
  Editor() {
    input.Init();
    mouse.SetPosition(position.x, position.y);
    mouse.EndFrame();
  }

  void Run(const std::string& script) {
    std::istringstream frames(script);
    for (std::string frame; frames >> frame;) Frame(frame);
  }

  // The loops as the outline file writes them, lines joined by '|'.
  std::string Loops() const {
    std::ostringstream text;
    input.WriteLoops(text);
    std::string joined = text.str();
    joined.pop_back();
    for (char& c : joined) {
      if (c == '\n') c = '|';
    }
    return joined;
  }

  CModeInput input;

 private:
  static CPoint2 ParsePair(const std::string& text) {
    const std::size_t comma = text.find(',');
    return CPoint2(std::stoi(text.substr(0, comma)), std::stoi(text.substr(comma + 1)));
  }

  void Frame(const std::string& frame) {
    if (frame.size() == 1) {
      keys.Press(frame == "_" ? ' ' : frame[0]);
    } else if (frame.rfind("d:", 0) == 0 || frame.rfind("m:", 0) == 0) {
      if (frame[0] == 'd') mouse.Press(1);
      Move(ParsePair(frame.substr(2)));
    } else {
      mouse.Press(1);
      Move((ParsePair(frame) - input.GetCursor()) * 32);
      keys.Press(' ');
    }
    input.Update(mouse, keys);
    mouse.EndFrame();
    keys.ClearPressed();
    mouse.Release(1);
  }

  void Move(const CPoint2& pixels) {
    position += pixels;
    mouse.SetPosition(position.x, position.y);
  }

  CPoint2 position{400, 300};
  CMouseState mouse;
  CKeySet keys;
};

struct ScriptCase {
  const char* name;
  const char* script;
  const char* loops;  // every loop in the file form, '|' between loops
  CPoint2 cursor;
};

void ExpectScript(const ScriptCase& c) {
  Editor editor;
  editor.Run(c.script);
  EXPECT_EQ(editor.Loops(), c.loops) << c.name;
  EXPECT_EQ(editor.input.GetCursor(), c.cursor) << c.name;
}

TEST(CModeInput, DraggingTruncatesTowardZeroAndLocksAxes) {
  const ScriptCase cases[] = {
      {"70 right and 40 up", "d:70,40", "*", CPoint2(2, 1)},
      {"31 pixels is no unit", "d:31,-31", "*", CPoint2(0, 0)},
      {"-40 pixels is -1", "d:-40,0", "*", CPoint2(-1, 0)},
      {"drags accumulate over frames", "d:20,0 d:20,0 d:-8,0", "*", CPoint2(1, 0)},
      {"moving without the button", "m:100,100", "*", CPoint2(0, 0)},
      {"after the first vertex only y moves", "0,0 d:64,0 d:0,70", "(0,0)*", CPoint2(0, 2)},
      {"after the second only x moves", "0,0 0,3 d:0,64 d:-70,0", "(0,0)(0,3)*", CPoint2(-2, 3)},
      {"a diagonal target follows the axis", "0,0 4,4", "(0,0)(0,4)*", CPoint2(0, 4)},
  };
  for (const ScriptCase& c : cases) ExpectScript(c);
}

TEST(CModeInput, PlacingAndClosingLoops) {
  const ScriptCase cases[] = {
      {"first vertex anywhere", "d:100,-70 _", "(3,-2)*", CPoint2(3, -2)},
      {"SPACE on the last vertex adds nothing", "0,0 0,2 _ _", "(0,0)(0,2)*", CPoint2(0, 2)},
      {"clockwise square kept as drawn", "0,0 0,5 5,5 5,0 0,0",
       "(0,0)(0,5)(5,5)(5,0)*|*", CPoint2(0, 0)},
      {"counter-clockwise square reversed", "0,0 0,5 -5,5 -5,0 0,0",
       "(-5,0)(-5,5)(0,5)(0,0)*|*", CPoint2(0, 0)},
      {"L shape", "0,0 0,4 2,4 2,2 4,2 4,0 0,0", "(0,0)(0,4)(2,4)(2,2)(4,2)(4,0)*|*",
       CPoint2(0, 0)},
      {"a second loop follows", "0,0 0,1 1,1 1,0 0,0 3,0 3,1 4,1 4,0 3,0",
       "(0,0)(0,1)(1,1)(1,0)*|(3,0)(3,1)(4,1)(4,0)*|*", CPoint2(3, 0)},
      {"the SPACE after closing starts the next loop", "0,0 0,5 5,5 5,0 0,0 _",
       "(0,0)(0,5)(5,5)(5,0)*|(0,0)*", CPoint2(0, 0)},
  };
  for (const ScriptCase& c : cases) ExpectScript(c);
}

TEST(CModeInput, RefusedEdgesAddNothing) {
  const ScriptCase cases[] = {
      {"crossing its own first edge", "0,0 0,4 2,4 2,2 -2,2", "(0,0)(0,4)(2,4)(2,2)*",
       CPoint2(-2, 2)},
      {"ending on its own first edge", "0,0 0,4 2,4 2,2 0,2", "(0,0)(0,4)(2,4)(2,2)*",
       CPoint2(0, 2)},
      {"ending on vertex 1 of a closed loop", "0,0 0,4 4,4 4,0 0,0 -3,8 -3,4 0,4",
       "(0,0)(0,4)(4,4)(4,0)*|(-3,8)(-3,4)*", CPoint2(0, 4)},
      {"crossing a closed loop", "0,0 0,4 4,4 4,0 0,0 -3,2 -3,3 6,3",
       "(0,0)(0,4)(4,4)(4,0)*|(-3,2)(-3,3)*", CPoint2(6, 3)},
      {"along an edge of a closed loop, strictly inside it",
       "0,0 0,10 10,10 10,0 0,0 0,3 0,6", "(0,0)(0,10)(10,10)(10,0)*|(0,3)(0,6)*",
       CPoint2(0, 6)},
      // A closed loop's last edge and closing edge are walls like the others.
      {"crossing a closed loop's closing edge", "0,0 0,4 4,4 4,0 0,0 2,-3 2,2",
       "(0,0)(0,4)(4,4)(4,0)*|(2,-3)*", CPoint2(2, 2)},
      {"crossing a closed loop's last edge", "0,0 0,4 4,4 4,0 0,0 6,2 6,3 2,3",
       "(0,0)(0,4)(4,4)(4,0)*|(6,2)(6,3)*", CPoint2(2, 3)},
  };
  for (const ScriptCase& c : cases) ExpectScript(c);
}

TEST(CModeInput, ClosingIsRefusedWhenTheLoopWouldBeUnusable) {
  const ScriptCase cases[] = {
      {"odd count, closing edge runs back along the first edge",
       "0,0 0,5 5,5 5,8 0,8 0,0", "(0,0)(0,5)(5,5)(5,8)(0,8)*", CPoint2(0, 0)},
      {"odd count, closing edge continues the first edge", "0,0 0,5 5,5 5,-3 0,-3 0,0",
       "(0,0)(0,5)(5,5)(5,-3)(0,-3)*", CPoint2(0, 0)},
      {"closing edge crosses the loop's own edge", "0,0 0,5 4,5 4,-3 8,-3 8,0 0,0",
       "(0,0)(0,5)(4,5)(4,-3)(8,-3)(8,0)*", CPoint2(0, 0)},
      {"closing edge crosses another loop",
       "3,-1 3,1 5,1 5,-1 3,-1 0,0 0,5 8,5 8,0 0,0",
       "(3,-1)(3,1)(5,1)(5,-1)*|(0,0)(0,5)(8,5)(8,0)*", CPoint2(0, 0)},
      {"closing edge touches another loop's corner",
       "3,-2 3,0 5,0 5,-2 3,-2 0,0 0,5 8,5 8,0 0,0",
       "(3,-2)(3,0)(5,0)(5,-2)*|(0,0)(0,5)(8,5)(8,0)*", CPoint2(0, 0)},
      {"a refused close can be mended with M",
       "0,0 0,5 5,5 5,8 0,8 0,0 M M 5,0 0,0",
       "(0,0)(0,5)(5,5)(5,0)*|*", CPoint2(0, 0)},
  };
  for (const ScriptCase& c : cases) ExpectScript(c);
}

TEST(CModeInput, RemovingVerticesAndReopeningLoops) {
  const ScriptCase cases[] = {
      {"M removes the last vertex", "0,0 0,3 3,3 M", "(0,0)(0,3)*", CPoint2(0, 3)},
      {"M on the last vertex empties the loop", "0,0 M", "*", CPoint2(0, 0)},
      {"M with nothing drawn does nothing", "d:64,64 M", "*", CPoint2(2, 2)},
      {"M re-opens the closed loop", "0,0 0,5 -5,5 -5,0 0,0 M",
       "(-5,0)(-5,5)(0,5)(0,0)*", CPoint2(0, 0)},
      {"a second M removes its last vertex", "0,0 0,5 -5,5 -5,0 0,0 M M",
       "(-5,0)(-5,5)(0,5)*", CPoint2(0, 5)},
      {"a re-opened loop drags on x and closes again", "0,0 0,5 5,5 5,0 0,0 M d:32,0 0,0",
       "(0,0)(0,5)(5,5)(5,0)*|*", CPoint2(0, 0)},
      {"R discards every loop", "0,0 0,5 5,5 5,0 0,0 6,6 R", "*", CPoint2(0, 0)},
  };
  for (const ScriptCase& c : cases) ExpectScript(c);
}

TEST(CModeInput, RemovedVertexPutsTheDragOnTheGrid) {
  Editor editor;
  editor.Run("0,0 0,5 5,5 d:0,0 M d:-31,0");
  EXPECT_EQ(editor.input.GetCursor(), CPoint2(0, 5)) << "drag restarts at 0,5 x 32";
  editor.Run("d:-1,0");
  EXPECT_EQ(editor.input.GetCursor(), CPoint2(-1, 5));
}

struct CompletionCase {
  const char* name;
  const char* script;
  bool complete;
  int closedLoops;
};

TEST(CModeInput, XCompletesOnlyWithAClosedLoop) {
  const CompletionCase cases[] = {
      {"nothing drawn", "X", false, 0},
      {"only an open loop", "0,0 0,5 5,5 X", false, 0},
      {"a refused close", "0,0 0,5 5,5 5,8 0,8 0,0 X", false, 0},
      {"one closed loop", "0,0 0,5 5,5 5,0 0,0 X", true, 1},
      {"closed and half-drawn", "0,0 0,5 5,5 5,0 0,0 7,0 7,2 X", true, 1},
      {"re-opened loop", "0,0 0,5 5,5 5,0 0,0 M X", false, 0},
      {"two loops", "0,0 0,1 1,1 1,0 0,0 3,0 3,1 4,1 4,0 3,0 X", true, 2},
      {"X before closing is forgotten", "X 0,0 0,5 5,5 5,0 0,0", false, 1},
  };
  for (const CompletionCase& c : cases) {
    Editor editor;
    editor.Run(c.script);
    EXPECT_EQ(editor.input.IsComplete(), c.complete) << c.name;
    EXPECT_EQ(editor.input.GetLoops().GetSize(), c.closedLoops) << c.name;
  }
}

TEST(CModeInput, XRefusesLoopsTooLargeToDesignOnOneLineAndKeepsThem) {
  Editor editor;
  editor.Run("-20000,-20000 -20000,20000 20000,20000 20000,-20000 -20000,-20000");
  const std::string before = editor.Loops();
  ::testing::internal::CaptureStdout();
  editor.Run("X");
  const std::string said = ::testing::internal::GetCapturedStdout();
  EXPECT_FALSE(editor.input.IsComplete());
  EXPECT_EQ(editor.Loops(), before);
  EXPECT_EQ(said.rfind("Cannot design the buildings: the outline would have at least ", 0), 0u)
      << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST(CModeInput, EnterClearsCompletionButKeepsTheLoops) {
  Editor editor;
  editor.Run("0,0 0,5 5,5 5,0 0,0 2,7 X");
  ASSERT_TRUE(editor.input.IsComplete());
  editor.input.Enter();
  EXPECT_FALSE(editor.input.IsComplete());
  EXPECT_EQ(editor.Loops(), "(0,0)(0,5)(5,5)(5,0)*|(2,7)*");
  EXPECT_EQ(editor.input.GetCursor(), CPoint2(2, 7));
}

TEST(CModeInput, GetLoopsLeavesOutTheLoopBeingDrawn) {
  Editor editor;
  editor.Run("0,0 0,1 1,1 1,0 0,0 3,0 3,1 4,1 4,0 3,0 9,9 9,12");
  const TList<CPolygon2> closed = editor.input.GetLoops();
  ASSERT_EQ(closed.GetSize(), 2);
  EXPECT_EQ(closed[0], CPolygon2({{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
  EXPECT_EQ(closed[1], CPolygon2({{3, 0}, {3, 1}, {4, 1}, {4, 0}}));
}

}  // namespace

namespace {

// A scratch folder that is the working directory while the test runs, for
// the S and L keys, which use user.quarn in the working directory.
using quarn::test::ScratchFolder;

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

const char* const kTwoLoopsAndAnOpenOne = "0,0 0,1 1,1 1,0 0,0 3,0 3,1 4,1 4,0 3,0 3,5 3,7 6,7";

TEST(CModeInputFile, SaveWritesEveryLoopALineTheOpenOneLast) {
  const ScratchFolder scratch;
  Editor editor;
  editor.Run(kTwoLoopsAndAnOpenOne);
  editor.Run("S");
  EXPECT_EQ(ReadFile("user.quarn"), "(0,0)(0,1)(1,1)(1,0)*\n(3,0)(3,1)(4,1)(4,0)*\n(3,5)(3,7)(6,7)*\n");
  EXPECT_FALSE(std::filesystem::exists("user.quarn.tmp"));
  Editor empty;
  empty.Run("S");
  EXPECT_EQ(ReadFile("user.quarn"), "*\n");
}

TEST(CModeInputFile, LoadRestoresEveryLoopAndTheCursor) {
  const ScratchFolder scratch;
  Editor editor;
  editor.Run(kTwoLoopsAndAnOpenOne);
  const std::string saved = editor.Loops();
  editor.Run("S R 20,20 L");
  EXPECT_EQ(editor.Loops(), saved);
  EXPECT_EQ(editor.input.GetCursor(), CPoint2(6, 7));
  editor.Run("6,5 3,5");  // the open loop continues on the right axes and closes
  EXPECT_EQ(editor.Loops(), "(0,0)(0,1)(1,1)(1,0)*|(3,0)(3,1)(4,1)(4,0)*|(3,5)(3,7)(6,7)(6,5)*|*");
  editor.Run("X");
  EXPECT_EQ(editor.input.GetLoops().GetSize(), 3);
}

TEST(CModeInputFile, SavingTwiceReplacesTheFile) {
  const ScratchFolder scratch;
  Editor editor;
  editor.Run(kTwoLoopsAndAnOpenOne);
  editor.Run("S R 2,2 S");
  EXPECT_EQ(ReadFile("user.quarn"), "(2,2)*\n");
}

struct LoadCase {
  const char* name;
  const char* file;
  const char* loops;  // after loading, '|' between loops
  CPoint2 cursor;
};

TEST(CModeInputFile, ValidFilesLoad) {
  const LoadCase cases[] = {
      {"an empty loop only", "*\n", "*", CPoint2(9, 9)},
      {"no final line end", "(0,0)(0,1)(1,1)(1,0)*\n*", "(0,0)(0,1)(1,1)(1,0)*|*", CPoint2(9, 9)},
      {"trailing blank lines and CR", "(0,0)(0,1)(1,1)(1,0)*\r\n*\r\n\n  \n",
       "(0,0)(0,1)(1,1)(1,0)*|*", CPoint2(9, 9)},
      {"counter-clockwise loop is reversed", "(0,0)(0,1)(-1,1)(-1,0)*\n*",
       "(-1,0)(-1,1)(0,1)(0,0)*|*", CPoint2(9, 9)},
      {"first edge horizontal, started at its last vertex", "(0,1)(1,1)(1,0)(0,0)*\n(5,5)*",
       "(0,0)(0,1)(1,1)(1,0)*|(5,5)*", CPoint2(5, 5)},
      {"an outline file: its one line is a closed loop", "(0,15)(15,15)(15,0)(0,0)*\n",
       "(0,0)(0,15)(15,15)(15,0)*|*", CPoint2(9, 9)},
      {"vertices inside straight runs go", "(0,0)(0,1)(0,2)(2,2)(2,0)(1,0)*\n",
       "(0,0)(0,2)(2,2)(2,0)*|*", CPoint2(9, 9)},
      {"blank lines between loops are skipped", "(0,0)(0,1)(1,1)(1,0)*\n\n*\n",
       "(0,0)(0,1)(1,1)(1,0)*|*", CPoint2(9, 9)},
      {"blanks between tokens", " ( 0 , 0 ) (0,1)(1,1)(1,0) * \n*", "(0,0)(0,1)(1,1)(1,0)*|*",
       CPoint2(9, 9)},
      {"an open loop on the last line", "(0,0)(0,1)(1,1)*\n", "(0,0)(0,1)(1,1)*", CPoint2(1, 1)},
  };
  for (const LoadCase& c : cases) {
    Editor editor;
    editor.Run("d:288,288");
    std::istringstream in(c.file);
    EXPECT_EQ(editor.input.ReadLoops(in), "") << c.name;
    EXPECT_EQ(editor.Loops(), c.loops) << c.name;
    EXPECT_EQ(editor.input.GetCursor(), c.cursor) << c.name;
  }
}

// Whether b is a with another start vertex.
bool SameCycle(const CPolygon2& a, const CPolygon2& b) {
  const int n = a.GetSize();
  if (n != b.GetSize()) return false;
  for (int start = 0; start < n; ++start) {
    int same = 0;
    while (same < n && a[(start + same) % n] == b[same]) ++same;
    if (same == n) return true;
  }
  return false;
}

// Every example outline loads as closed loops of the same shape, in the
// editor's form (first edge vertical), and S writes that form back unchanged.
// The examples folder also holds programmes and programs: outlines are the
// *.quarn files.
TEST(CModeInputFile, EveryExampleOutlineLoadsAndSavesInTheEditorsForm) {
  int examples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(QUARN_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".quarn") continue;  // programme files sit beside them
    ++examples;
    const std::string name = entry.path().filename().string();
    std::ifstream file(entry.path());
    const quarn::OutlineFile outline = quarn::ReadOutlineFile(file);
    ASSERT_TRUE(outline.IsValid()) << name;
    Editor editor;
    std::ifstream again(entry.path());
    ASSERT_EQ(editor.input.ReadLoops(again), "") << name;
    const TList<CPolygon2> loaded = editor.input.GetLoops();
    ASSERT_EQ(loaded.GetSize(), outline.loops.GetSize()) << name;
    for (int i = 0; i < loaded.GetSize(); ++i) {
      EXPECT_TRUE(SameCycle(loaded[i], outline.loops[i])) << name << " loop " << i;
      EXPECT_EQ(loaded[i][0].x, loaded[i][1].x) << name << ": the first edge is vertical";
    }
    std::ostringstream saved;
    editor.input.WriteLoops(saved);
    Editor reloaded;
    std::istringstream in(saved.str());
    ASSERT_EQ(reloaded.input.ReadLoops(in), "") << name;
    EXPECT_EQ(reloaded.Loops(), editor.Loops()) << name;
  }
  EXPECT_GE(examples, 5);
}

TEST(CModeInputFile, InvalidFilesLeaveTheLoopsUntouched) {
  const char* const files[] = {
      "",
      "\n  \n",
      "(0,0)(0,1)(1,1)*\n*\n",
      "(0,0)(0,2)(2,2)(2,1)(-1,1)(-1,0)*\n*\n",
      "(0,0)(0,1)(1,1)(1,0)\n*\n",
      "(0,0)(0,1)(1,1)(1,0)*junk\n*\n",
      "(0,0)(0,1)(1,1)(1,0)*\nhello\n",
      "(0,0)(0,1)(1,1)(99999999999,0)*\n*\n",
      "(0,0)(0,4)(4,4)(4,0)*\n(2,-1)(2,5)(3,5)(3,-1)*\n*\n",
      "(0,0)(0,4)(4,4)(4,0)*\n(4,0)(4,4)(8,4)(8,0)*\n*\n",
      "(0,0)(1,1)*\n",
      "(0,0)(1,0)*\n",
      "(0,0)(0,1)(0,2)*\n",
      "(0,0)(0,1)(1,1)(1,0)(0,0)*\n",
      "(0,0)(0,4)(4,4)(4,0)*\n(2,-2)(2,2)*\n",
      "(0,0)(0,4)(4,4)(4,0)*\n(-1,2)(-1,3)(1,3)*\n",
  };
  for (const char* file : files) {
    Editor editor;
    editor.Run(kTwoLoopsAndAnOpenOne);
    const std::string before = editor.Loops();
    std::istringstream in(file);
    EXPECT_NE(editor.input.ReadLoops(in), "") << file;
    EXPECT_EQ(editor.Loops(), before) << file;
    EXPECT_EQ(editor.input.GetCursor(), CPoint2(6, 7)) << file;
  }
}

// A cut-off file either loads a prefix of the saved closed loops or changes
// nothing; it never leaves a half-read state behind.
TEST(CModeInputFile, EveryTruncationOfASavedFileLoadsAPrefixOrNothing) {
  Editor drawn;
  drawn.Run(kTwoLoopsAndAnOpenOne);
  const TList<CPolygon2> closed = drawn.input.GetLoops();
  std::ostringstream saved;
  drawn.input.WriteLoops(saved);
  const std::string text = saved.str();
  int loads = 0;
  for (std::size_t length = 0; length <= text.size(); ++length) {
    Editor editor;
    editor.Run("0,0 0,9 9,9 9,0 0,0");
    const std::string before = editor.Loops();
    std::istringstream in(text.substr(0, length));
    if (!editor.input.ReadLoops(in).empty()) {
      EXPECT_EQ(editor.Loops(), before) << length;
      continue;
    }
    ++loads;
    const TList<CPolygon2> loaded = editor.input.GetLoops();
    ASSERT_LE(loaded.GetSize(), closed.GetSize()) << length;
    for (int i = 0; i < loaded.GetSize(); ++i) EXPECT_EQ(loaded[i], closed[i]) << length;
  }
  EXPECT_EQ(loads, 6) << "each of the three lines, with and without its line end";
}

TEST(CModeInputFile, LoadingAMissingOrInvalidFileSaysWhyOnOneLine) {
  const ScratchFolder scratch;
  Editor editor;
  editor.Run(kTwoLoopsAndAnOpenOne);
  const std::string before = editor.Loops();

  ::testing::internal::CaptureStdout();
  editor.Run("L");
  std::string said = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(said, "Could not load user.quarn: the file cannot be opened\n");
  EXPECT_EQ(editor.Loops(), before);

  WriteFile("user.quarn", "(0,0)(0,1)(1,1)*\n*\n");
  ::testing::internal::CaptureStdout();
  editor.Run("L");
  said = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(said.rfind("Could not load user.quarn: line 1: ", 0), 0u) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(editor.Loops(), before);
}

TEST(CModeInputFile, AFailedSaveKeepsWhatWasThere) {
  const ScratchFolder scratch;
  std::filesystem::create_directories("user.quarn/inside");  // cannot be replaced by a file
  Editor editor;
  editor.Run(kTwoLoopsAndAnOpenOne);
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(editor.input.SaveLoops());
  const std::string said = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(said.rfind("Could not save user.quarn: ", 0), 0u) << said;
  EXPECT_TRUE(std::filesystem::is_directory("user.quarn/inside"));

  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(editor.input.SaveLoops(scratch.folder / "missing" / "user.quarn"));
  EXPECT_NE(::testing::internal::GetCapturedStdout(), "");

  // A full disk: the earlier file stays whole.
  WriteFile("other.quarn", "*\n");
  std::ostringstream told;
  std::streambuf* const standardOutput = std::cout.rdbuf(told.rdbuf());
  {
    const quarn::test::FileSizeLimit full(8);
    EXPECT_FALSE(editor.input.SaveLoops("other.quarn"));
  }
  std::cout.rdbuf(standardOutput);
  EXPECT_EQ(told.str(), "Could not save other.quarn: cannot write 'other.quarn': File too large\n");
  EXPECT_EQ(ReadFile("other.quarn"), "*\n");
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"other.quarn", "user.quarn"}))
      << "no temporary is left";
}

}  // namespace
