#include "support/gl_test_context.h"

#include <cstdlib>
#include <memory>
#include <utility>

#include <GL/glu.h>
#include <SDL.h>

namespace quarn::test {

namespace {

// Brings SDL video and the GL library up once per process and keeps them up
// until exit: unloading the GL driver would leave the allocations it keeps
// unattributable, so the leak checker could not suppress them.
bool StartVideoOnce() {
  static const bool started = [] {
    // Tests run without a display; ctest sets the driver, this covers runs by hand.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    return SDL_GL_LoadLibrary(nullptr) == 0;
  }();
  return started;
}

}  // namespace

GlTestContext::GlTestContext(int width, int height) : width_(width), height_(height) {
  if (!StartVideoOnce()) {
    ADD_FAILURE() << "SDL video: " << SDL_GetError();
    return;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  window_ = SDL_CreateWindow("quarn-test", 0, 0, width, height,
                             SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window_ == nullptr) {
    ADD_FAILURE() << "SDL window: " << SDL_GetError();
    return;
  }
  context_ = SDL_GL_CreateContext(window_);
  if (context_ == nullptr) {
    ADD_FAILURE() << "GL context: " << SDL_GetError();
    return;
  }
  SDL_GL_MakeCurrent(window_, context_);
  glViewport(0, 0, width, height);
}

GlTestContext::~GlTestContext() {
  if (context_ != nullptr) SDL_GL_DeleteContext(context_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

std::ostream& operator<<(std::ostream& os, const FeedbackVertex& v) {
  return os << "(" << v.x << ", " << v.y << ", " << v.z << " | rgba " << v.r << " " << v.g << " "
            << v.b << " " << v.a << " | st " << v.s << " " << v.t << ")";
}

std::ostream& operator<<(std::ostream& os, const FeedbackPrimitive& p) {
  os << "token 0x" << std::hex << p.token << std::dec << ":";
  for (const FeedbackVertex& v : p.vertices) os << " " << v;
  return os;
}

namespace {

constexpr int kFloatsPerVertex = 11;  // GL_3D_COLOR_TEXTURE in RGBA mode

struct Unprojection {
  GLdouble modelView[16];
  GLdouble projection[16];
  GLint viewport[4];

  Unprojection() {
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
  }

  FeedbackVertex Vertex(const GLfloat* f) const {
    GLdouble x = 0, y = 0, z = 0;
    gluUnProject(f[0], f[1], f[2], modelView, projection, viewport, &x, &y, &z);
    FeedbackVertex v;
    v.x = static_cast<float>(x);
    v.y = static_cast<float>(y);
    v.z = static_cast<float>(z);
    v.r = f[3];
    v.g = f[4];
    v.b = f[5];
    v.a = f[6];
    v.s = f[7];
    v.t = f[8];
    return v;
  }
};

int VertexCountOf(GLenum token) {
  switch (token) {
    case GL_POINT_TOKEN:
    case GL_BITMAP_TOKEN:
    case GL_DRAW_PIXEL_TOKEN:
    case GL_COPY_PIXEL_TOKEN: return 1;
    case GL_LINE_TOKEN:
    case GL_LINE_RESET_TOKEN: return 2;
    default: return 0;
  }
}

}  // namespace

std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw) {
  const Unprojection unprojection;
  std::vector<GLfloat> buffer(1 << 20);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  std::vector<FeedbackPrimitive> primitives;
  if (used < 0) {
    ADD_FAILURE() << "feedback buffer overflow";
    return primitives;
  }
  for (GLint i = 0; i < used;) {
    FeedbackPrimitive primitive;
    primitive.token = static_cast<GLenum>(buffer[static_cast<std::size_t>(i++)]);
    if (primitive.token == GL_PASS_THROUGH_TOKEN) {
      ++i;
      continue;
    }
    int count = VertexCountOf(primitive.token);
    if (primitive.token == GL_POLYGON_TOKEN) count = static_cast<int>(buffer[static_cast<std::size_t>(i++)]);
    for (int k = 0; k < count; ++k, i += kFloatsPerVertex)
      primitive.vertices.push_back(unprojection.Vertex(&buffer[static_cast<std::size_t>(i)]));
    primitives.push_back(std::move(primitive));
  }
  return primitives;
}

std::vector<std::vector<FeedbackVertex>> QuadsFromFeedback(
    const std::vector<FeedbackPrimitive>& primitives) {
  // Mesa's split of quad (0, 1, 2, 3) is triangle (0, 1, 3), then (1, 2, 3).
  std::vector<std::vector<FeedbackVertex>> quads;
  for (std::size_t i = 0; i + 1 < primitives.size(); i += 2) {
    const auto& first = primitives[i].vertices;
    const auto& second = primitives[i + 1].vertices;
    if (primitives[i].token != GL_POLYGON_TOKEN || first.size() != 3 || second.size() != 3) {
      ADD_FAILURE() << "not a split quad: " << primitives[i];
      break;
    }
    quads.push_back({first[0], first[1], second[1], first[2]});
  }
  if (primitives.size() % 2 != 0) ADD_FAILURE() << "odd number of triangles";
  return quads;
}

void EncodeNormalsAsColours() {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glEnable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
  const GLfloat none[4] = {0, 0, 0, 1};
  const GLfloat white[4] = {1, 1, 1, 1};
  const GLfloat half[4] = {0.5f, 0.5f, 0.5f, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, none);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, half);
  // One directional light per axis and sign; the negative ones carry a
  // negative colour so each channel follows its normal component linearly.
  for (int axis = 0; axis < 3; ++axis) {
    for (int sign = 0; sign < 2; ++sign) {
      const GLenum light = static_cast<GLenum>(GL_LIGHT0 + axis * 2 + sign);
      GLfloat direction[4] = {0, 0, 0, 0};
      direction[axis] = sign == 0 ? 1.0f : -1.0f;
      GLfloat colour[4] = {0, 0, 0, 0};
      colour[axis] = sign == 0 ? 0.5f : -0.5f;
      glLightfv(light, GL_POSITION, direction);
      glLightfv(light, GL_DIFFUSE, colour);
      glLightfv(light, GL_AMBIENT, none);
      glLightfv(light, GL_SPECULAR, none);
      glEnable(light);
    }
  }
  glPopMatrix();
}

std::array<float, 3> NormalOf(const FeedbackVertex& v) {
  return {v.r * 2 - 1, v.g * 2 - 1, v.b * 2 - 1};
}

std::array<std::uint8_t, 4> ReadPixel(int x, int y) {
  std::array<std::uint8_t, 4> pixel{};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
  return pixel;
}

void GlTest::SetUp() {
  context_ = new GlTestContext(kSize, kSize);
  ASSERT_TRUE(context_->IsReady());
  SetWorldExtent(100);
}

void GlTest::TearDown() {
  delete context_;
  context_ = nullptr;
}

void GlTest::SetWorldExtent(double extent) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-extent, extent, -extent, extent, -extent, extent);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace quarn::test
