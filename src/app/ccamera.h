#pragma once

#include "geom/cvector3.h"

// The fly-through camera of the view: a position in world units (z up) and
// two angles in degrees, pitch about x and heading about z. Heading stays in
// (0, 360], pitch in [-89, 89]. Movement follows mouse pixels, not time.
class CCamera {
 public:
  explicit CCamera(const CVector3& position);

  // 0.4 degrees per pixel: dragging right raises the heading, up the pitch.
  void Rotate(int dx, int dy);
  // Moves 0.7 world units per unit of amount along the viewing direction.
  void MoveForward(float amount);
  // Moves by forward world units along the viewing direction and by right
  // units to the right, level with the ground.
  void Fly(float forward, float right);

  // Moves to position and turns to heading (degrees, kept in (0, 360]);
  // the pitch stays.
  void Place(const CVector3& position, float toHeading);

  // Multiply the current GL matrix by the camera's rotation (pitch, then
  // heading) or by its translation (minus the position).
  void ApplyRotation() const;
  void ApplyTranslation() const;

  CVector3 GetPosition() const;
  float GetPitch() const { return pitch; }
  float GetHeading() const { return heading; }

 private:
  float x;
  float y;
  float z;
  float pitch = 0;
  [[maybe_unused]] float roll = 0;  // a third angle that no operation changes
  float heading = 0;
};
