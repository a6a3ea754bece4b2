#include "app/cmodeview.h"

#include <unistd.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <utility>

#include "app/modedrawing.h"
#include "app/viewpicture.h"
#include "building/designbudget.h"
#include "export/sceneexport.h"
#include "furnish/layers.h"
#include "render/cbuildingdraw.h"
#include "render/ctextureset.h"

namespace {

constexpr std::uint8_t kLeftButton = 1;
constexpr std::uint8_t kRightButton = 4;
const CVector3 kCameraStart(5, -80, 10);
constexpr double kFieldOfView = 40;
constexpr double kNearPlane = 0.1;
constexpr double kFarPlane = 10000;
constexpr float kShininess = 16;
// Virtual-key codes as the key set holds them.
constexpr char kKeyPageUp = 33;
constexpr char kKeyPageDown = 34;
constexpr char kKeyEnd = 35;
constexpr char kKeyHome = 36;
constexpr char kKeyLeft = 37;
constexpr char kKeyUp = 38;
constexpr char kKeyRight = 39;
constexpr char kKeyDown = 40;
// W, A, S and D fly this share of the buildings' larger side a second (at
// least kMinFlySpeed units), however fast frames come; a frame counts at
// most kMaxFlyFrame seconds, so a stall does not throw the camera away.
constexpr float kFlyShare = 0.5f;
constexpr float kMinFlySpeed = 5;
constexpr float kMaxFlyFrame = 0.1f;
// The settings block at the bottom left, from its step line down.
constexpr int kSettingsTop = 490;
constexpr int kLineHeight = 20;

}  // namespace

CModeView::CModeView() : consoleTrace(std::cout), camera(kCameraStart) {
  buildings.observer = &consoleTrace;
}

void CModeView::Enter() {
  returnRequested = false;
  settings.SelectFirst();
  buildings.step = 0;
  const CPoint2 size = GetWindowSize();
  Resize(size.x, size.y);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_LIGHTING);
  glEnable(GL_COLOR_MATERIAL);
  glMaterialf(GL_FRONT, GL_SHININESS, kShininess);
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
}

void CModeView::Init() {
  if (const auto missing = TextureSet().LoadAll()) quarn::ExitForMissingTexture(*missing);
}

namespace quarn {

void ExitForMissingTexture(const std::string& path) {
  std::cout << "The filename " << path << " does not exist, stupid!" << '\n';
  std::cout.flush();
  if (isatty(STDIN_FILENO)) std::cin.get();
  std::exit(1);
}

}  // namespace quarn

void CModeView::Resize(int width, int height) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (height == 0 || height % 2 != 0) ++height;
  if (width % 2 != 0) ++width;
  glViewport(0, 0, width, height);
  gluPerspective(kFieldOfView, static_cast<double>(width) / height, kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
}

void CModeView::Update(const CMouseState& mouse, const CKeySet& keys) {
  const CPoint2 delta = mouse.GetDelta();
  if (mouse.IsDown(kLeftButton)) {
    camera.Rotate(delta.x, delta.y);
  } else if (mouse.IsDown(kRightButton)) {
    camera.MoveForward(static_cast<float>(delta.y));
  }
  for (int style = 1; style <= 4; ++style) {
    if (keys.WasPressed(static_cast<char>('0' + style))) renderStyle = style;
  }
  if (keys.WasPressed('P')) SetStep(buildings.step + 1);
  if (keys.WasPressed('O') && buildings.step != 0) SetStep(buildings.step - 1);
  if (keys.WasPressed(kKeyHome)) SetStep(0);
  if (keys.WasPressed(kKeyEnd)) SetLastStep();
  if (keys.WasPressed('B')) finished = !finished;
  if (keys.WasPressed('V')) ToggleWalk();
  if (keys.WasPressed('X')) returnRequested = true;
  if (keys.WasPressed('E')) Export();
  UpdateSettings(keys);
  UpdateShownStoreys(keys);
  if (keys.WasPressed('F')) FrameBuildings();
  FlyWithKeys(keys);
}

void CModeView::ToggleWalk() {
  if (walk) {
    walk.reset();
    return;
  }
  const std::optional<quarn::Programme> programme = GetProgramme();
  walk = ViewWalk::Start(buildings.buildings, programme ? &*programme : nullptr);
  if (!walk) {
    std::cout << "walk: no building has an entrance\n";
    std::cout.flush();
    return;
  }
  finished = true;
  walkRevision = buildings.revision;
  walkProgramme = settings.GetProgramme();
  camera.Place(walk->GetEyes(), walk->GetHeading());
  Walk(CKeySet(), 0.0f);
}

void CModeView::Walk(const CKeySet& keys, float seconds) {
  if (buildings.revision != walkRevision || walkProgramme != settings.GetProgramme()) {
    const std::optional<quarn::Programme> programme = GetProgramme();
    walk->Rebuild(buildings.buildings, programme ? &*programme : nullptr);
    walkRevision = buildings.revision;
    walkProgramme = settings.GetProgramme();
  }
  const float forward = (keys.IsHeld('W') ? 1.0f : 0.0f) - (keys.IsHeld('S') ? 1.0f : 0.0f);
  const float right = (keys.IsHeld('D') ? 1.0f : 0.0f) - (keys.IsHeld('A') ? 1.0f : 0.0f);
  walk->Step({forward, right, keys.IsShiftHeld(), keys.WasPressed(' ') || keys.IsHeld(' ')},
             camera.GetHeading(), seconds);
  camera.Place(walk->GetEyes(), camera.GetHeading());
  if (const auto place = walk->TakePlaceChange()) {
    std::cout << "walk: " << *place << '\n';
    std::cout.flush();
  }
}

void CModeView::UpdateSettings(const CKeySet& keys) {
  if (keys.WasPressed(kKeyDown)) settings.SelectNext();
  if (keys.WasPressed(kKeyUp)) settings.SelectPrevious();
  const std::uint32_t storeys = settings.GetStoreys();
  const bool changed = (keys.WasPressed(kKeyRight) && settings.Change(1)) ||
                       (keys.WasPressed(kKeyLeft) && settings.Change(-1)) ||
                       (keys.WasPressed('R') && settings.Reroll());
  // The programme types what is drawn; the design stays as it is.
  if (!changed || settings.GetSelected() == ViewSettings::kProgramme) return;
  if (settings.GetStoreys() != storeys) shownStoreys = static_cast<int>(settings.GetStoreys());
  ApplySettings();
}

void CModeView::UpdateShownStoreys(const CKeySet& keys) {
  const int storeys = static_cast<int>(settings.GetStoreys());
  if (keys.WasPressed(kKeyPageUp)) shownStoreys = std::min(shownStoreys + 1, storeys);
  if (keys.WasPressed(kKeyPageDown)) shownStoreys = std::max(shownStoreys - 1, 1);
}

void CModeView::FlyWithKeys(const CKeySet& keys) {
  const auto now = std::chrono::steady_clock::now();
  const float seconds =
      std::min(std::chrono::duration<float>(now - lastUpdate).count(), kMaxFlyFrame);
  lastUpdate = now;
  const float forward = (keys.IsHeld('W') ? 1.0f : 0.0f) - (keys.IsHeld('S') ? 1.0f : 0.0f);
  const float right = (keys.IsHeld('D') ? 1.0f : 0.0f) - (keys.IsHeld('A') ? 1.0f : 0.0f);
  if (walk) {
    Walk(keys, seconds);
    return;
  }
  if (forward == 0 && right == 0) return;
  const CBox2 area = quarn::BuildingsArea(*this);
  const CPoint2 size = area.GetMax() - area.GetMin();
  const float speed =
      std::max(kFlyShare * static_cast<float>(std::max(size.x, size.y)), kMinFlySpeed);
  camera.Fly(forward * speed * seconds, right * speed * seconds);
}

void CModeView::FrameBuildings() {
  int storeys = 1;
  for (int b = 0; b < buildings.buildings.GetSize(); ++b) {
    storeys = std::max(storeys, std::min(buildings.buildings[b].GetSize(), shownStoreys));
  }
  const CPoint2 size = GetWindowSize();
  camera = quarn::FitCamera(quarn::BuildingsArea(*this), static_cast<double>(size.x) / size.y,
                            static_cast<float>(storeys) * kStoreyRise);
}

// A picture of the finished buildings stays finished: the new specs may
// take more steps.
void CModeView::ApplySettings() {
  const bool atLastStep = finishedStep && buildings.step >= *finishedStep;
  for (int i = 0; i < buildings.specs.GetSize(); ++i) {
    buildings.specs[i] = settings.SpecOf(buildings.specs[i].outline);
  }
  finishedStep.reset();
  if (atLastStep) {
    SetLastStep();
  } else {
    SetStep(buildings.step);
  }
}

std::uint32_t CModeView::GetFinishedStep() {
  if (!finishedStep) {
    quarn::BuildingSet finished;  // no observer: designs silently
    finished.specs = buildings.specs;
    finished.SetLastStep();
    finishedStep = finished.step;
  }
  return *finishedStep;
}

std::optional<quarn::Programme> CModeView::GetProgramme() const {
  return quarn::GetBuiltinProgramme(settings.GetProgramme());
}

bool CModeView::Export(const std::string& path) const {
  std::string problem;
  // The finished buildings at real-world heights: 3 m a storey, typed and
  // furnished as they are shown.
  const std::optional<quarn::Programme> programme = finished ? GetProgramme() : std::nullopt;
  const quarn::BuildingLayers layers =
      quarn::LayBuildings(buildings.buildings, programme ? &*programme : nullptr, 1.0f);
  quarn::SceneSettings sceneSettings;
  if (finished) sceneSettings.storeyHeight = quarn::kFinishedStoreyHeight;
  if (!quarn::ExportBuildings(buildings.buildings, finished ? &layers.finished : nullptr, sceneSettings,
                              quarn::ExportFormat::kGlb, path, problem, {},
                              programme ? &layers.typed : nullptr, programme ? &layers.furnished : nullptr)) {
    std::cout << "Could not export the building: " << problem << '\n';
    std::cout.flush();
    return false;
  }
  std::cout << "Exported the building to " << path << '\n';
  std::cout.flush();
  return true;
}

void CModeView::Build(TList<CPolygon2> loops, std::uint32_t storeys) {
  buildings.Build(std::move(loops), storeys);
  finishedStep.reset();
  shownStoreys = static_cast<int>(std::max(settings.GetStoreys(), storeys));
  if (!settings.HasDesignValues()) ApplySettings();
}

void CModeView::SetStep(std::uint32_t n) { buildings.SetStep(n); }

void CModeView::SetLastStep() {
  buildings.SetLastStep();
  finishedStep = buildings.step;
}

void CModeView::DrawScene() {
  // The world has z up; the camera looks along +y with z up on the screen.
  glRotatef(90, 1, 0, 0);
  glScalef(1, -1, -1);
  glShadeModel(GL_SMOOTH);
  glDisable(GL_CULL_FACE);

  glPushMatrix();
  camera.ApplyRotation();
  glPushMatrix();
  glRotatef(270, 1, 0, 0);
  skyBox.Draw();
  glPopMatrix();
  camera.ApplyTranslation();
  SetBuildingLighting();
  if (renderStyle > 2) ground.Draw();
  roomLabels.clear();
  if (finished) {
    const std::optional<quarn::Programme> programme = GetProgramme();
    finishedDrawing.Draw(buildings.buildings, buildings.revision, renderStyle,
                         programme ? &*programme : nullptr);
    if (renderStyle == kStyleDesign) roomLabels = ProjectLabels(finishedDrawing.GetLabels());
  } else {
    buildingDrawing.Draw(buildings.buildings, buildings.revision, renderStyle, shownStoreys);
  }
  glPopMatrix();
}

void CModeView::Draw(CBaseWindow& window) {
  DrawScene();
  DrawRoomLabels(window);
  glColor3f(0.8f, 1.0f, 0.0f);
  DrawText(*this, window, 10, 20, "VIEW MODE -- SEE THE RESULTING BUILDING.");
  DrawText(*this, window, 10, 20, "_______________________________________");
  DrawText(*this, window, 10, 40,
           "Drag with [LMB] to change heading. Drag with [RMB] to fly back and forth.");
  DrawText(*this, window, 10, 60,
           "Use [P] to step through the design process. Or [O] to take steps back.");
  DrawText(*this, window, 10, 80,
           "Use [1] thru [4] to change the rendering style. Use [X] to return to Input Mode.");
  DrawText(*this, window, 10, 100, "Press [E] to export the building to user.glb.");
  DrawText(*this, window, 10, 120, "Press [Home] or [End] for the first or the last step.");
  DrawText(*this, window, 10, 140,
           "Use [Up] [Down] to pick a setting, [Left] [Right] to change it, [R] to re-roll.");
  DrawText(*this, window, 10, 160,
           "Press [F] to frame the buildings. Hold [W] [A] [S] [D] to fly.");
  DrawText(*this, window, 10, 180, "Use [PgUp] [PgDn] to show more or fewer storeys.");
  DrawText(*this, window, 10, 200,
           "Press [V] to walk: [W] [A] [S] [D] walk, hold [Shift] to run, [Space] jumps.");
  DrawSettings(window);
}

// Each name centred on its room, about 8 pixels a character.
void CModeView::DrawRoomLabels(CBaseWindow& window) {
  glColor3f(1.0f, 1.0f, 1.0f);
  const int height = GetWindowSize().y;
  for (const auto& [at, name] : roomLabels) {
    DrawText(*this, window, static_cast<int>(at.x) - static_cast<int>(name.size()) * 4,
             height - static_cast<int>(at.y), "%s", name.c_str());
  }
}

// The step line, then one line a setting, the selected one marked and white.
void CModeView::DrawSettings(CBaseWindow& window) {
  glColor3f(0.8f, 1.0f, 0.0f);
  DrawText(*this, window, 10, kSettingsTop, "step %u of %u", buildings.step, GetFinishedStep());
  for (int item = 0; item < ViewSettings::kItemCount; ++item) {
    const bool selected = item == settings.GetSelected();
    if (selected) {
      glColor3f(1.0f, 1.0f, 1.0f);
    } else {
      glColor3f(0.8f, 1.0f, 0.0f);
    }
    std::string line = settings.Line(static_cast<ViewSettings::Item>(item));
    if (item == ViewSettings::kStoreys && shownStoreys < static_cast<int>(settings.GetStoreys())) {
      line += " (showing " + std::to_string(shownStoreys) + ")";
    }
    DrawText(*this, window, 10, kSettingsTop + kLineHeight * (item + 1), "%s %s",
             selected ? ">" : " ", line.c_str());
  }
  if (walk) {
    glColor3f(0.8f, 1.0f, 0.0f);
    DrawText(*this, window, 10, kSettingsTop - kLineHeight, "walk: %s", walk->DescribePlace().c_str());
  }
}
