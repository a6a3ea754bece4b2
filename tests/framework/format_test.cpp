#include "format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "glfont.h"
#include "glwindowex.h"

namespace quarn::fw {
namespace {

std::optional<std::string> Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::optional<std::string> Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::optional<std::string> text = FormatLimited(format, args);
  va_end(args);
  return text;
}

TEST(FormatLimited, TextsAtTheBufferBoundary) {
  struct Case {
    std::size_t length;
    std::optional<std::size_t> kept;
  };
  // A text as long as the buffer loses its last character; a longer one is dropped.
  for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{1023, 1023}, Case{1024, 1023},
                        Case{1025, std::nullopt}, Case{5000, std::nullopt}}) {
    const std::string text(c.length, 'x');
    const std::optional<std::string> result = Format("%s", text.c_str());
    ASSERT_EQ(result.has_value(), c.kept.has_value()) << "length " << c.length;
    if (result) {
      EXPECT_EQ(*result, std::string(*c.kept, 'x')) << "length " << c.length;
    }
  }
}

TEST(TraceLevel, NegativeLevelsAreStoredAsSilent) {
  struct Case {
    int requested;
    int stored;
  };
  for (const Case& c : {Case{2, 2}, Case{0, 0}, Case{-1, 0}, Case{-100, 0}}) {
    SetTraceLevel(c.requested);
    EXPECT_EQ(GetTraceLevel(), c.stored) << c.requested;
  }
  SetTraceLevel(0);
}

TEST(TraceLevel, TracesAppearOnlyAboveLevelZero) {
  for (int level : {0, 1}) {
    SetTraceLevel(level);
    testing::internal::CaptureStdout();
    Trace("Main: %d windows remain\n", 4);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), level > 0 ? "Main: 4 windows remain\n" : "")
        << "level " << level;
  }
  SetTraceLevel(0);
}

TEST(ExtensionQuery, NamesMatchOnlyAsWholeWords) {
  const char* list = "GL_ARB_multitexture GL_EXT_texture GL_EXT_texture3D GL_ARB_imaging";
  struct Case {
    const char* name;
    bool found;
  };
  for (const Case& c : {Case{"GL_ARB_multitexture", true}, Case{"GL_ARB_imaging", true},
                        Case{"GL_EXT_texture", true}, Case{"GL_EXT_texture3D", true},
                        Case{"GL_EXT_tex", false}, Case{"texture", false},
                        Case{"GL_ARB", false}, Case{"", false},
                        Case{"GL_EXT_texture GL_ARB_imaging", false},
                        Case{"GL_ARB_imaging ", false}}) {
    EXPECT_EQ(HasExtensionWord(list, c.name), c.found) << '"' << c.name << '"';
  }
  EXPECT_FALSE(HasExtensionWord(nullptr, "GL_ARB_imaging"));
  EXPECT_FALSE(HasExtensionWord("GL_EXT_texture3D", "GL_EXT_texture"));
}

TEST(GlyphRows, RepackedBottomUpWithoutRowPadding) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> buffer;
    int width, rows, pitch;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      // A one-pixel bar ('|'): FreeType pads each row to 4 bytes.
      {"narrow padded", {0x80, 0xEE, 0xEE, 0xEE, 0x80, 0xEE, 0xEE, 0xEE, 0x00, 0xEE, 0xEE, 0xEE},
       1, 3, 4, {0x00, 0x80, 0x80}},
      {"two bytes wide", {0xFF, 0xC0, 0x81, 0x40}, 10, 2, 2, {0x81, 0x40, 0xFF, 0xC0}},
      // Negative pitch: rows are stored bottom-up already.
      {"bottom-up storage", {0x01, 0x02, 0x03}, 8, 3, -1, {0x01, 0x02, 0x03}},
      {"blank glyph", {}, 0, 0, 0, {}},
      {"pitch too small", {0xFF, 0xFF}, 12, 2, 1, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RepackGlyphRows(c.buffer.empty() ? nullptr : c.buffer.data(), c.width, c.rows, c.pitch),
              c.expected)
        << c.name;
  }
}

}  // namespace
}  // namespace quarn::fw
