#pragma once

#include <cstdint>
#include <string>

#include "app/ccamera.h"
#include "app/cmode.h"
#include "building/buildingset.h"
#include "geom/cpolygon2.h"
#include "render/cground.h"
#include "render/cskybox.h"
#include "tlist.h"

// The 3D view of the buildings generated from the outline: a lit scene in a
// sky box above a grass ground, seen through a fly-through camera, in one of
// four styles (1 design plan, 2 wireframe, 3 solid, 4 textured). P and O step
// the design process forward and back; every step regenerates all buildings
// from their specs. World units are grid units, z up. The camera and the
// style persist between visits; the buildings are rebuilt on every visit.
class CModeView : public CMode {
 public:
  CModeView();

  // Clears the return request and the step count (without regenerating),
  // sets the projection and turns texturing and lighting on.
  void Enter() override;
  // Loads the ten textures; needs the GL context.
  void Init() override;
  // Perspective projection (40 degrees vertically) for an even client size
  // (an odd width, and an odd or zero height, are increased by 1).
  void Resize(int width, int height) override;
  void Draw(CBaseWindow& window) override;
  // Left drag turns the camera, right drag flies, 1..4 pick the style, P and
  // O step, X asks to return to the outline, E exports.
  void Update(const CMouseState& mouse, const CKeySet& keys) override;
  // Writes every building as shown (current step) to path as binary glTF,
  // whole or not at all, and prints one line: the file written or why not.
  // Nothing else changes either way.
  bool Export(const std::string& path = kExportFile) const;

  // One building per loop, generated at step 0.
  void Build(TList<CPolygon2> loops);
  // Regenerates every building with a budget of n design steps.
  void SetStep(std::uint32_t n);

  bool IsReturnRequested() const { return returnRequested; }
  std::uint32_t GetStep() const { return buildings.step; }
  int GetRenderStyle() const { return renderStyle; }
  const CCamera& GetCamera() const { return camera; }
  const quarn::BuildingSet& GetBuildings() const { return buildings; }

  static inline const std::string kExportFile = "user.glb";

 private:
  bool returnRequested = false;
  quarn::BuildingSet buildings;
  CCamera camera;
  int renderStyle = 1;
  CGround ground;
  CSkyBox skyBox;
};
