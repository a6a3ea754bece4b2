#pragma once

// Expectations on feedback vertices, shared by the drawing tests.

#include <array>

#include <gtest/gtest.h>

#include "support/gl_test_context.h"

namespace quarn::test {

inline constexpr float kTolerance = 1e-3f;

struct Xyz {
  float x, y, z;
};

inline void ExpectAt(const FeedbackVertex& v, Xyz p) {
  EXPECT_NEAR(v.x, p.x, kTolerance) << v;
  EXPECT_NEAR(v.y, p.y, kTolerance) << v;
  EXPECT_NEAR(v.z, p.z, kTolerance) << v;
}

inline void ExpectTexCoord(const FeedbackVertex& v, float s, float t) {
  EXPECT_NEAR(v.s, s, kTolerance) << v;
  EXPECT_NEAR(v.t, t, kTolerance) << v;
}

// For vertices drawn under EncodeNormalsAsColours.
inline void ExpectNormal(const FeedbackVertex& v, Xyz n) {
  const std::array<float, 3> got = NormalOf(v);
  EXPECT_NEAR(got[0], n.x, 2e-2) << v;
  EXPECT_NEAR(got[1], n.y, 2e-2) << v;
  EXPECT_NEAR(got[2], n.z, 2e-2) << v;
}

inline void ExpectColour(const FeedbackVertex& v, float r, float g, float b, float a = 1.0f) {
  EXPECT_NEAR(v.r, r, kTolerance) << v;
  EXPECT_NEAR(v.g, g, kTolerance) << v;
  EXPECT_NEAR(v.b, b, kTolerance) << v;
  EXPECT_NEAR(v.a, a, kTolerance) << v;
}

}  // namespace quarn::test
