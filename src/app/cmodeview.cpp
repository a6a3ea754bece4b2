#include "app/cmodeview.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <iostream>
#include <utility>

#include "app/modedrawing.h"
#include "export/sceneexport.h"
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
constexpr char kKeyEnd = 35;
constexpr char kKeyHome = 36;

}  // namespace

CModeView::CModeView() : consoleTrace(std::cout), camera(kCameraStart) {
  buildings.observer = &consoleTrace;
}

void CModeView::Enter() {
  returnRequested = false;
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

void CModeView::Init() { TextureSet().LoadAll(); }

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
  if (keys.WasPressed('X')) returnRequested = true;
  if (keys.WasPressed('E')) Export();
}

bool CModeView::Export(const std::string& path) const {
  std::string problem;
  if (!quarn::ExportBuildings(buildings.buildings, quarn::SceneSettings{},
                              quarn::ExportFormat::kGlb, path, problem)) {
    std::cout << "Could not export the building: " << problem << '\n';
    std::cout.flush();
    return false;
  }
  std::cout << "Exported the building to " << path << '\n';
  std::cout.flush();
  return true;
}

void CModeView::Build(TList<CPolygon2> loops) { buildings.Build(std::move(loops)); }

void CModeView::SetStep(std::uint32_t n) { buildings.SetStep(n); }

void CModeView::SetLastStep() { buildings.SetLastStep(); }

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
  buildingDrawing.Draw(buildings.buildings, buildings.revision, renderStyle);
  glPopMatrix();
}

void CModeView::Draw(CBaseWindow& window) {
  DrawScene();
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
}
