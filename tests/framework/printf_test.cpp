#include <GL/gl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "format.h"
#include "glfont.h"
#include "recording_window.h"
#include "support/gl_test_context.h"

namespace quarn::fw::test {
namespace {

using quarn::test::CaptureFeedback;
using quarn::test::FeedbackPrimitive;

struct RasterHit {
  float x;
  float y;
};

// Projection with one unit per pixel, origin at the bottom-left.
void PixelProjection(const GLWindow& window) {
  glViewport(0, 0, window.GetWidth(), window.GetHeight());
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, window.GetWidth(), 0, window.GetHeight(), -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// The raster positions of the bitmaps a drawing produces, from feedback mode.
template <typename Draw>
std::vector<RasterHit> BitmapsDrawnBy(Draw draw) {
  std::vector<RasterHit> hits;
  for (const FeedbackPrimitive& primitive : CaptureFeedback(draw)) {
    EXPECT_EQ(primitive.token, static_cast<GLenum>(GL_BITMAP_TOKEN)) << primitive;
    if (primitive.token == GL_BITMAP_TOKEN) {
      hits.push_back({primitive.vertices.at(0).x, primitive.vertices.at(0).y});
    }
  }
  return hits;
}

// Runs body inside OnCreate of a window with a live context, then ends the loop.
template <typename Body>
void WithLiveWindow(Body body) {
  RecordingApp app;
  RecordingWindow window;
  window.SetSize(200, 100);
  window.onCreate = [&] {
    PixelProjection(window);
    body(window);
    PostClose(window, 0);
  };
  EXPECT_EQ(Main::Instance()->Execute(0, nullptr), 0);
}

TEST(WindowText, OneBitmapPerCharacterAdvancingFromTheRasterPosition) {
  WithLiveWindow([](RecordingWindow& window) {
    for (const std::string text : {"A|B", "|||", "i.l", " x "}) {
      std::vector<RasterHit> hits = BitmapsDrawnBy([&] {
        glRasterPos2i(10, 20);
        EXPECT_NE(window.Printf("%s", text.c_str()), 0u) << text;
      });
      ASSERT_EQ(hits.size(), text.size()) << text;
      const float advance = hits[1].x - hits[0].x;
      EXPECT_GT(advance, 3.0f) << text;
      for (std::size_t i = 0; i < hits.size(); ++i) {
        // A monospace face: every glyph, narrow or blank, moves by the same width.
        EXPECT_NEAR(hits[i].x, 10.0f + advance * static_cast<float>(i), 1e-3) << text << " #" << i;
        EXPECT_NEAR(hits[i].y, 20.0f, 1e-3) << text << " #" << i;
      }
    }
  });
}

TEST(WindowText, TextBeyondTheBufferDrawsNothing) {
  WithLiveWindow([](RecordingWindow& window) {
    struct Case {
      std::size_t length;
      std::size_t bitmaps;
      bool drawn;
    };
    for (const Case& c : {Case{1023, 1023, true}, Case{1024, 1023, true}, Case{1025, 0, false}}) {
      const std::string text(c.length, 'w');
      unsigned int base = 0;
      const std::vector<RasterHit> hits = BitmapsDrawnBy([&] {
        glRasterPos2i(0, 50);
        base = window.Printf("%s", text.c_str());
      });
      EXPECT_EQ(hits.size(), c.bitmaps) << "length " << c.length;
      EXPECT_EQ(base != 0, c.drawn) << "length " << c.length;
    }
  });
}

// Bounds of the lit pixels of a frame; a glyph image read with the wrong row
// length smears across columns.
struct LitPixels {
  int count = 0;
  std::set<int> columns;
  std::set<int> rows;
};

LitPixels ReadLitPixels(int width, int height) {
  std::vector<GLubyte> pixels(static_cast<std::size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  LitPixels lit;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (pixels[(static_cast<std::size_t>(y) * width + x) * 4] > 128) {
        ++lit.count;
        lit.columns.insert(x);
        lit.rows.insert(y);
      }
    }
  }
  return lit;
}

TEST(WindowText, NarrowGlyphIsAnUnbrokenVerticalBar) {
  WithLiveWindow([](RecordingWindow& window) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glRasterPos2i(50, 30);
    ASSERT_NE(window.Printf("|"), 0u);
    glFinish();
    const LitPixels lit = ReadLitPixels(window.GetWidth(), window.GetHeight());
    ASSERT_GT(lit.count, 0);
    EXPECT_LE(lit.columns.size(), 2u);
    EXPECT_GE(lit.rows.size(), 10u);
    // One bar: its rows follow each other without gaps.
    EXPECT_EQ(*lit.rows.rbegin() - *lit.rows.begin() + 1, static_cast<int>(lit.rows.size()));
    EXPECT_EQ(lit.count, static_cast<int>(lit.columns.size() * lit.rows.size()));
    EXPECT_GE(*lit.columns.begin(), 50);
    EXPECT_LE(*lit.rows.begin(), 30);  // the bar reaches below the baseline
  });
}

TEST(WindowText, FontChangeRebuildsTheListsAndBadFontsFallBack) {
  WithLiveWindow([](RecordingWindow& window) {
    std::vector<RasterHit> small, large;
    small = BitmapsDrawnBy([&] {
      glRasterPos2i(0, 10);
      window.Printf("MM");
    });
    EXPECT_TRUE(window.SetFont(40, "monospace"));
    large = BitmapsDrawnBy([&] {
      glRasterPos2i(0, 10);
      window.Printf("MM");
    });
    ASSERT_EQ(small.size(), 2u);
    ASSERT_EQ(large.size(), 2u);
    EXPECT_GT(large[1].x - large[0].x, 2.0f * (small[1].x - small[0].x));
    struct Case {
      const char* name;
      int height;
      const char* face;
    };
    for (const Case& c : {Case{"no height", 0, "monospace"}, Case{"no face", 12, ""},
                          Case{"null face", 12, nullptr}}) {
      EXPECT_FALSE(window.SetFont(c.height, c.face)) << c.name;
      const std::vector<RasterHit> hits = BitmapsDrawnBy([&] {
        glRasterPos2i(0, 10);
        window.Printf("MM");
      });
      ASSERT_EQ(hits.size(), 2u) << c.name;
      EXPECT_NEAR(hits[1].x - hits[0].x, small[1].x - small[0].x, 1e-3) << c.name;
    }
  });
}

TEST(WindowText, FailedDrawingIsRetriedExactlyOnce) {
  RecordingWindow window;  // no native window: both attempts fail
  SetTraceLevel(1);
  testing::internal::CaptureStdout();
  EXPECT_EQ(window.Printf("abc"), 0u);
  const std::string trace = testing::internal::GetCapturedStdout();
  SetTraceLevel(0);
  EXPECT_EQ(trace,
            "warning: used wglUseFontBitmap workaround\nwarning: workaround failed\n");
  EXPECT_FALSE(window.SetFont(12, "monospace"));  // a font needs the native window
}

}  // namespace
}  // namespace quarn::fw::test
