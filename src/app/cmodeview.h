#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "app/ccamera.h"
#include "app/cmode.h"
#include "app/viewsettings.h"
#include "app/viewwalk.h"
#include "building/buildingset.h"
#include "geom/cpolygon2.h"
#include "render/cbuildingdraw.h"
#include "render/cfinisheddraw.h"
#include "render/cground.h"
#include "render/cskybox.h"
#include "tlist.h"

namespace quarn {

// The view cannot run without its textures: writes "The filename PATH does
// not exist, stupid!" to standard output, waits for a key when standard
// input is a terminal (so that a user who started it from a console reads
// the message), and ends the process with exit code 1.
[[noreturn]] void ExitForMissingTexture(const std::string& path);

}  // namespace quarn

// The 3D view of the buildings generated from the outline: a lit scene in a
// sky box above a grass ground, seen through a fly-through camera, in one of
// four styles (1 design plan, 2 wireframe, 3 solid, 4 textured). Finished
// buildings (B) are typed by the settings' programme: in style 1 rooms are
// outlined in their type's colour and named at their centre. P and O step
// the design process forward and back, Home and End jump to its first and
// last step; every step regenerates all buildings from their specs. The
// settings block (room size, variance, storeys, seed) changes the specs of
// every building and regenerates them at the current step; storeys stand
// kStoreyRise apart, and Page Up and Page Down choose the highest one shown.
// World units are grid units, z up. The camera, the style and the settings
// persist between visits; the buildings are rebuilt on every visit.
class CModeView : public CMode {
 public:
  CModeView();
  CModeView(const CModeView&) = delete;
  CModeView& operator=(const CModeView&) = delete;

  // Clears the return request and the step count (without regenerating),
  // sets the projection and turns texturing and lighting on.
  void Enter() override;
  // Loads the ten textures; needs the GL context. A missing one ends the
  // process (ExitForMissingTexture).
  void Init() override;
  // Perspective projection (40 degrees vertically) for an even client size
  // (an odd width, and an odd or zero height, are increased by 1).
  void Resize(int width, int height) override;
  // The scene, then the help text.
  void Draw(CBaseWindow& window) override;
  // The scene alone: sky box, ground in styles 3 and 4, the lit buildings in
  // the current style; the model-view matrix is the identity on entry.
  void DrawScene();
  // Left drag turns the camera, right drag flies, 1..4 pick the style, P and
  // O step, Home and End go to the first and the last step, X asks to
  // return to the outline, E exports, B switches between the design and the
  // finished buildings. Up and Down select a setting, Left and Right change
  // it, R re-rolls the seed; Page Up and Page Down show one storey more or
  // less; F frames the buildings; W, A, S and D fly while held. V walks
  // (see ToggleWalk): W, A, S and D then walk, Shift runs, Space jumps.
  void Update(const CMouseState& mouse, const CKeySet& keys) override;
  // Writes every building as shown (current step) to path as binary glTF,
  // whole or not at all, and prints one line: the file written or why not.
  // Nothing else changes either way.
  bool Export(const std::string& path = kExportFile) const;

  // Walk mode on (the finished buildings shown, the walker outside the first
  // entrance) or off (the flying camera stays where the walker stood).
  // Prints "walk: " and the walker's place on every change of room.
  void ToggleWalk();
  bool IsWalking() const { return walk.has_value(); }
  // Walks one frame as the keys say (seconds long).
  void Walk(const CKeySet& keys, float seconds);

  // One building per loop, of that many storeys, generated at step 0.
  void Build(TList<CPolygon2> loops, std::uint32_t storeys = quarn::BuildingSet::kStoreys);
  // Regenerates every building with a budget of n design steps.
  void SetStep(std::uint32_t n);
  // Regenerates every building to its end; the step count becomes the
  // design decisions of the longest design.
  void SetLastStep();

  // The design decisions of the finished buildings (the step End goes to),
  // worked out once per change of the specs without a design trace.
  std::uint32_t GetFinishedStep();
  // Puts the camera where it sees every building whole, storeys included.
  void FrameBuildings();

  bool IsReturnRequested() const { return returnRequested; }
  const ViewSettings& GetSettings() const { return settings; }
  // The storeys shown of each building, from the ground up.
  int GetShownStoreys() const { return shownStoreys; }
  std::uint32_t GetStep() const { return buildings.step; }
  int GetRenderStyle() const { return renderStyle; }
  const CCamera& GetCamera() const { return camera; }
  void SetCamera(const CCamera& to) { camera = to; }
  // 1 to 4; other values draw no buildings.
  void SetRenderStyle(int style) { renderStyle = style; }
  // The design as generated (the default), or the finished buildings:
  // storeys stacked, entrance and stairs (B toggles).
  bool IsFinished() const { return finished; }
  void SetFinished(bool on) { finished = on; }
  const quarn::BuildingSet& GetBuildings() const { return buildings; }
  // Where the design steps of every regeneration are reported: the trace on
  // standard output unless changed; null for nowhere.
  void SetDesignObserver(quarn::DesignObserver* observer) { buildings.observer = observer; }

  static inline const std::string kExportFile = "user.glb";

 private:
  void UpdateSettings(const CKeySet& keys);
  void UpdateShownStoreys(const CKeySet& keys);
  void FlyWithKeys(const CKeySet& keys);
  // Gives every spec the current settings and regenerates at the current
  // step, or at the new last step when the buildings were finished.
  void ApplySettings();
  void DrawSettings(CBaseWindow& window);
  // The room names of typed finished buildings in style 1, where the last
  // DrawScene saw them.
  void DrawRoomLabels(CBaseWindow& window);
  // The programme the settings name, or none.
  std::optional<quarn::Programme> GetProgramme() const;

  bool returnRequested = false;
  quarn::TextTraceObserver consoleTrace;
  quarn::BuildingSet buildings;
  CCamera camera;
  int renderStyle = 1;
  bool finished = false;
  ViewSettings settings;
  int shownStoreys = 1;
  std::optional<std::uint32_t> finishedStep;
  std::optional<ViewWalk> walk;
  std::uint64_t walkRevision = 0;
  std::string walkProgramme;  // the programme the walker's buildings are typed by
  std::chrono::steady_clock::time_point lastUpdate = std::chrono::steady_clock::now();
  CBuildingDrawing buildingDrawing;
  CFinishedDrawing finishedDrawing;
  std::vector<std::pair<CVector2, std::string>> roomLabels;
  CGround ground;
  CSkyBox skyBox;
};
