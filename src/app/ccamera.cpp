#include "app/ccamera.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDegreesPerPixel = 0.4;
constexpr float kUnitsPerPixel = 0.7f;
constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kPitchLimit = 89;

}  // namespace

CCamera::CCamera(const CVector3& position) : x(position.x), y(position.y), z(position.z) {}

void CCamera::Rotate(int dx, int dy) {
  heading = static_cast<float>(heading + kDegreesPerPixel * dx);
  pitch = static_cast<float>(pitch + kDegreesPerPixel * dy);
  while (heading >= 360) heading -= 360;
  while (heading <= 0) heading += 360;
  pitch = std::clamp(pitch, -kPitchLimit, kPitchLimit);
}

void CCamera::MoveForward(float amount) {
  const float h = heading * kRadiansPerDegree;
  const float p = pitch * kRadiansPerDegree;
  const float step = kUnitsPerPixel * amount;
  x += std::sin(h) * step;
  y += std::cos(h) * std::cos(p) * step;
  z += -std::sin(p) * step;
}

void CCamera::Fly(float forward, float right) {
  const float h = heading * kRadiansPerDegree;
  const float p = pitch * kRadiansPerDegree;
  x += std::sin(h) * std::cos(p) * forward + std::cos(h) * right;
  y += std::cos(h) * std::cos(p) * forward - std::sin(h) * right;
  z += -std::sin(p) * forward;
}

void CCamera::Place(const CVector3& position, float toHeading) {
  x = position.x;
  y = position.y;
  z = position.z;
  heading = toHeading;
  while (heading >= 360) heading -= 360;
  while (heading <= 0) heading += 360;
}

void CCamera::ApplyRotation() const {
  glRotated(pitch, 1, 0, 0);
  glRotated(heading, 0, 0, 1);
}

void CCamera::ApplyTranslation() const { glTranslated(-x, -y, -z); }

CVector3 CCamera::GetPosition() const { return CVector3(x, y, z); }
