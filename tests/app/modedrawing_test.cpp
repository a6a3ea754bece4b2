#include "app/modedrawing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FormatCase {
  int length;    // characters of the text
  int expected;  // characters DrawText writes
};

// The help texts are short, but a longer text must be cut, never overflow.
TEST(FormatText, CutsTextsThatDoNotFitTheBuffer) {
  const FormatCase cases[] = {{0, 0}, {99, 99}, {498, 498}, {499, 499}, {500, 499}, {501, 499},
                              {5000, 499}};
  for (const FormatCase& c : cases) {
    const std::string text(static_cast<std::size_t>(c.length), 'q');
    const std::string written = FormatText("%s", text.c_str());
    EXPECT_EQ(written, text.substr(0, static_cast<std::size_t>(c.expected))) << c.length;
  }
}

TEST(FormatText, FormatsLikePrintf) {
  EXPECT_EQ(FormatText("Step %u of %s: %5.1f%%", 3u, "P", 12.25), "Step 3 of P:  12.2%");
  EXPECT_EQ(FormatText("%s", "100% sure"), "100% sure") << "arguments are not formats";
}

}  // namespace
