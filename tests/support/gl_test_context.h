#pragma once

// GL for tests without a display: a hidden SDL window on the offscreen video
// driver with a compatibility-profile context, and helpers that read back
// what was drawn (feedback-mode geometry, pixels).

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include <GL/gl.h>
#include <gtest/gtest.h>

struct SDL_Window;

namespace quarn::test {

// A hidden window whose GL context is current while the object lives.
class GlTestContext {
 public:
  GlTestContext(int width, int height);
  ~GlTestContext();
  GlTestContext(const GlTestContext&) = delete;
  GlTestContext& operator=(const GlTestContext&) = delete;

  bool IsReady() const { return context_ != nullptr; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_;
  int height_;
  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;
};

// One vertex as feedback mode reports it, mapped back from window to world
// coordinates through the matrices current when the capture began.
struct FeedbackVertex {
  float x = 0, y = 0, z = 0;
  float r = 0, g = 0, b = 0, a = 0;
  float s = 0, t = 0;
};

// A point, line or polygon, with GL's token (GL_POINT_TOKEN, GL_LINE_TOKEN,
// GL_POLYGON_TOKEN, ...) and its vertices in the order GL gives them.
struct FeedbackPrimitive {
  GLenum token = 0;
  std::vector<FeedbackVertex> vertices;
};

std::ostream& operator<<(std::ostream& os, const FeedbackVertex& v);
std::ostream& operator<<(std::ostream& os, const FeedbackPrimitive& p);

// Runs draw in feedback mode and returns the primitives it produced. Lines
// of a strip or loop come as separate line tokens (Mesa never emits
// line-reset tokens).
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw);

// Mesa splits each quad into two triangles in feedback mode; joins the
// triangles of consecutive quads back into their four corners in drawing
// order.
std::vector<std::vector<FeedbackVertex>> QuadsFromFeedback(
    const std::vector<FeedbackPrimitive>& primitives);

// Lights the scene so that a vertex's feedback colour is 0.5 + 0.5 * its
// unit normal (r, g, b for x, y, z): makes normals visible to feedback.
void EncodeNormalsAsColours();

// Decodes the normal from a colour written under EncodeNormalsAsColours.
std::array<float, 3> NormalOf(const FeedbackVertex& v);

// RGBA of the back buffer's pixel at (x, y), origin bottom-left.
std::array<std::uint8_t, 4> ReadPixel(int x, int y);

// Fixture: a fresh 256 x 256 context per test, identity model-view and an
// orthographic projection mapping [-extent, extent] on every axis onto the
// viewport and depth range.
class GlTest : public ::testing::Test {
 protected:
  static constexpr int kSize = 256;
  void SetUp() override;
  void TearDown() override;
  void SetWorldExtent(double extent);

 private:
  GlTestContext* context_ = nullptr;
};

}  // namespace quarn::test
