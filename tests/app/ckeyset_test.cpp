#include "app/ckeyset.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Which key a character counts as, after case folding. Virtual-key codes of
// keys without a character never reach the key set (see the window's tests).
struct FoldCase {
  int code;
  char countsAs;
};

TEST(CKeySet, KeysFoldOntoTheCharacter32Below) {
  const FoldCase cases[] = {
      {'x', 'X'}, {'p', 'P'},  {'a', 'A'}, {'z', 'Z'}, {'{', '['},
      {95, '?'},  {96, '@'},   {123, '['}, {124, '\\'}, {125, ']'},
      {' ', ' '}, {'1', '1'},  {94, '^'},
  };
  for (const FoldCase& c : cases) {
    CKeySet keys;
    keys.Press(static_cast<char>(c.code));
    EXPECT_TRUE(keys.WasPressed(c.countsAs)) << "code " << c.code;
    EXPECT_TRUE(keys.IsToggled(c.countsAs)) << "code " << c.code;
    EXPECT_TRUE(keys.WasPressed(static_cast<char>(c.code))) << "code " << c.code;
  }
}

TEST(CKeySet, CodesWithoutABitAreIgnored) {
  const int ignored[] = {0, 9, 13, 27, 31, 126, 127, 128, 200, 255};
  for (const int code : ignored) {
    CKeySet keys("A");
    keys.ClearPressed();
    keys.Press(static_cast<char>(code));
    EXPECT_FALSE(keys.WasPressed(static_cast<char>(code))) << "code " << code;
    for (int c = 32; c < 126; ++c) {
      EXPECT_FALSE(keys.WasPressed(static_cast<char>(c))) << "code " << code << " lit " << c;
    }
    EXPECT_TRUE(keys.IsToggled('A')) << "code " << code;
  }
}

TEST(CKeySet, DistinctCodesBelowTheFoldHaveDistinctBits) {
  for (int a = 32; a < 95; ++a) {
    CKeySet keys;
    keys.Press(static_cast<char>(a));
    for (int b = 32; b < 95; ++b) {
      EXPECT_EQ(keys.WasPressed(static_cast<char>(b)), a == b) << a << " vs " << b;
    }
  }
}

// A sequence of frames: the keys pressed in each frame, then what is seen.
struct ToggleCase {
  const char* name;
  std::string frames;  // '|' ends a frame
  char key;
  bool pressedInLastFrame;
  bool toggled;
};

TEST(CKeySet, PressesAndTogglesOverFrames) {
  const ToggleCase cases[] = {
      {"one press", "P", 'P', true, true},
      {"pressed twice in one frame toggles back", "PP", 'P', true, false},
      {"later key replaces earlier", "PX", 'P', false, true},
      {"later key is reported", "PX", 'X', true, true},
      {"pressed in an earlier frame only", "P|", 'P', false, true},
      {"auto-repeat over three frames", "P|P|P", 'P', true, true},
      {"lower and upper case share a toggle", "p|P", 'P', true, false},
  };
  for (const ToggleCase& c : cases) {
    CKeySet keys;
    for (const char k : c.frames) {
      if (k == '|') {
        keys.ClearPressed();
      } else {
        keys.Press(k);
      }
    }
    EXPECT_EQ(keys.WasPressed(c.key), c.pressedInLastFrame) << c.name;
    EXPECT_EQ(keys.IsToggled(c.key), c.toggled) << c.name;
  }
}

TEST(CKeySet, ConstructionPressesEveryCharacter) {
  const CKeySet keys("abA");
  EXPECT_FALSE(keys.IsToggled('A'));  // a and A cancel
  EXPECT_TRUE(keys.IsToggled('B'));
  EXPECT_TRUE(keys.WasPressed('A'));  // the last one
  EXPECT_FALSE(keys.WasPressed('B'));
}

}  // namespace
