#include <cmath>

#include <gtest/gtest.h>

#include "render/cskybox.h"
#include "render/ctexturemanager.h"
#include "render/ctextureset.h"
#include "support/gl_test_context.h"
#include "texturefiles.h"

namespace quarn::test {
namespace {

using tools::SkyDirection;
using tools::SkyFace;

class SkyFacesTest : public GlTest {};

// The sky pictures are painted for the directions in which the sky box shows
// them: every corner the box draws with texture coordinate (s, t) of a face
// is the direction the picture of that face was painted for at (s, t).
TEST_F(SkyFacesTest, PicturesArePaintedForTheDirectionsTheSkyBoxShowsThem) {
  SetWorldExtent(600);
  CSkyBox sky;
  const auto quads = QuadsFromFeedback(CaptureFeedback([&] { sky.Draw(); }));
  // Faces in the order the sky box draws them.
  const SkyFace order[] = {SkyFace::kLeft, SkyFace::kFront, SkyFace::kRight,
                           SkyFace::kBack, SkyFace::kUp,    SkyFace::kDown};
  ASSERT_EQ(quads.size(), 6u);
  for (std::size_t q = 0; q < 6; ++q) {
    for (const FeedbackVertex& v : quads[q]) {
      SCOPED_TRACE(testing::Message() << "face " << q << " " << v);
      // The box insets its texture coordinates by 0.002; the picture's
      // corner is at the whole coordinate.
      const auto d = SkyDirection(order[q], std::round(v.s), std::round(v.t));
      EXPECT_NEAR(d[0] * 500, v.x, 1e-3);
      EXPECT_NEAR(d[1] * 500, v.y, 1e-3);
      EXPECT_NEAR(d[2] * 500, v.z, 1e-3);
    }
  }
}

}  // namespace
}  // namespace quarn::test
