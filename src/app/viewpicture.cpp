#include "app/viewpicture.h"

#include <GL/gl.h>
#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace quarn {
namespace {

// The view's vertical field of view, and the share of the frame the
// buildings' box may fill on its tighter side.
constexpr double kHalfFieldOfViewRadians = 20.0 * 3.14159265358979 / 180.0;
constexpr double kFill = 0.92;
// Mouse pixels of the camera's own rotation (0.4 degrees each): heading 30
// degrees east of north, pitch 30 degrees down.
constexpr int kFitHeadingPixels = 75;
constexpr int kFitPitchPixels = 75;
constexpr double kRadiansPerDegree = 3.14159265358979 / 180.0;

CVector3 Along(double x, double y, double z) {
  return CVector3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

}  // namespace

CCamera FitCamera(const CBox2& area, double aspect, float height) {
  CCamera camera(CVector3(0, 0, 0));
  camera.Rotate(kFitHeadingPixels, kFitPitchPixels);
  const double heading = camera.GetHeading() * kRadiansPerDegree;
  const double pitch = camera.GetPitch() * kRadiansPerDegree;
  // The camera's axes in the world: a positive pitch looks down.
  const CVector3 forward = Along(std::cos(pitch) * std::sin(heading),
                                 std::cos(pitch) * std::cos(heading), -std::sin(pitch));
  const CVector3 right = Along(std::cos(heading), -std::sin(heading), 0);
  const CVector3 up = Along(std::sin(pitch) * std::sin(heading),
                            std::sin(pitch) * std::cos(heading), std::cos(pitch));
  const CVector3 low(static_cast<float>(area.GetMin().x), static_cast<float>(area.GetMin().y), 0);
  const CVector3 high(static_cast<float>(area.GetMax().x), static_cast<float>(area.GetMax().y),
                      height);
  const CVector3 centre = (low + high) * 0.5f;
  const double tanVertical = std::tan(kHalfFieldOfViewRadians) * kFill;
  const double tanHorizontal = tanVertical * aspect;
  // The least distance back from the centre at which every corner of the
  // box lies inside the frame.
  double distance = 0;
  for (int corner = 0; corner < 8; ++corner) {
    const CVector3 point((corner & 1) ? high.x : low.x, (corner & 2) ? high.y : low.y,
                         (corner & 4) ? high.z : low.z);
    const CVector3 offset = point - centre;
    const double depth = Dot(offset, forward);
    distance = std::max({distance, std::abs(Dot(offset, right)) / tanHorizontal - depth,
                         std::abs(Dot(offset, up)) / tanVertical - depth});
  }
  CCamera fitted(centre - forward * static_cast<float>(distance));
  fitted.Rotate(kFitHeadingPixels, kFitPitchPixels);
  return fitted;
}

CBox2 BuildingsArea(const CModeView& view) {
  const TList<CFloorSpec>& specs = view.GetBuildings().specs;
  if (specs.GetSize() == 0) return CBox2(CPoint2(0, 0), CPoint2(1, 1));
  CBox2 area = specs[0].outline.GetExtents();
  for (int i = 1; i < specs.GetSize(); ++i) {
    const CBox2 extents = specs[i].outline.GetExtents();
    area = CBox2(Min(area.GetMin(), extents.GetMin()), Max(area.GetMax(), extents.GetMax()));
  }
  return area;
}

RgbPicture DrawViewPicture(CModeView& view, int width, int height) {
  // The frame as the main window starts it: black, depth test, identity.
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  view.DrawScene();
  glFinish();
  RgbPicture picture{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 3)};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.data());
  // GL's rows run bottom-up.
  const std::size_t row = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> swap(row);
  for (int y = 0; y < height / 2; ++y) {
    std::uint8_t* top = picture.rgb.data() + static_cast<std::size_t>(y) * row;
    std::uint8_t* bottom = picture.rgb.data() + static_cast<std::size_t>(height - 1 - y) * row;
    std::memcpy(swap.data(), top, row);
    std::memcpy(top, bottom, row);
    std::memcpy(bottom, swap.data(), row);
  }
  return picture;
}

std::vector<std::uint8_t> EncodePng(const RgbPicture& picture) {
  std::vector<std::uint8_t> bytes;
  const auto append = [](void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* from = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), from, from + size);
  };
  if (stbi_write_png_to_func(append, &bytes, picture.width, picture.height, 3, picture.rgb.data(),
                             picture.width * 3) == 0) {
    bytes.clear();
  }
  return bytes;
}

}  // namespace quarn
