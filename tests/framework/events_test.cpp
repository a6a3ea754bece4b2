#include "events.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn::fw {
namespace {

constexpr PrivateEventTypes kTypes{SDL_USEREVENT + 3, SDL_USEREVENT + 4};

SDL_Event KeyEvent(Uint32 type, SDL_Scancode scancode, SDL_Keycode keycode, Uint16 mod = 0,
                   Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.windowID = 7;
  event.key.repeat = repeat;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = keycode;
  event.key.keysym.mod = mod;
  return event;
}

struct KeyCase {
  std::string name;
  SDL_Scancode scancode;
  SDL_Keycode keycode;
  int virtualKey;
};

class VirtualKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(VirtualKeys, KeyDownCarriesTheVirtualKeyCode) {
  const KeyCase& c = GetParam();
  const WindowMessage message =
      TranslateEvent(KeyEvent(SDL_KEYDOWN, c.scancode, c.keycode), kTypes);
  EXPECT_EQ(message, (WindowMessage{.kind = MessageKind::kKey, .windowId = 7,
                                    .key = c.virtualKey, .down = true}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, VirtualKeys,
    testing::Values(
        KeyCase{"LetterA", SDL_SCANCODE_A, SDLK_a, 'A'},
        KeyCase{"LetterZ", SDL_SCANCODE_Z, SDLK_z, 'Z'},
        // The letter follows the layout: the key at Q's place types A.
        KeyCase{"LetterByLayout", SDL_SCANCODE_Q, SDLK_a, 'A'},
        // A layout without Latin letters falls back to the key's place.
        KeyCase{"LetterByPlace", SDL_SCANCODE_X, 0x0447, 'X'},
        KeyCase{"Digit0", SDL_SCANCODE_0, SDLK_0, '0'},
        KeyCase{"Digit9", SDL_SCANCODE_9, SDLK_9, '9'},
        // Digits follow the key's place, whatever the layout types there.
        KeyCase{"DigitOnShiftedLayout", SDL_SCANCODE_1, SDLK_AMPERSAND, '1'},
        KeyCase{"Space", SDL_SCANCODE_SPACE, SDLK_SPACE, 32},
        KeyCase{"F1", SDL_SCANCODE_F1, SDLK_F1, 112},
        KeyCase{"F9", SDL_SCANCODE_F9, SDLK_F9, 120},
        KeyCase{"F11", SDL_SCANCODE_F11, SDLK_F11, 122},
        KeyCase{"F12", SDL_SCANCODE_F12, SDLK_F12, 123},
        KeyCase{"Keypad0", SDL_SCANCODE_KP_0, SDLK_KP_0, 96},
        KeyCase{"Keypad1", SDL_SCANCODE_KP_1, SDLK_KP_1, 97},
        KeyCase{"Keypad9", SDL_SCANCODE_KP_9, SDLK_KP_9, 105},
        KeyCase{"Escape", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27},
        KeyCase{"Enter", SDL_SCANCODE_RETURN, SDLK_RETURN, 13},
        KeyCase{"KeypadEnter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 13},
        KeyCase{"Tab", SDL_SCANCODE_TAB, SDLK_TAB, 9},
        KeyCase{"Backspace", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 8},
        KeyCase{"LeftShift", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 16},
        KeyCase{"RightCtrl", SDL_SCANCODE_RCTRL, SDLK_RCTRL, 17},
        KeyCase{"ArrowLeft", SDL_SCANCODE_LEFT, SDLK_LEFT, 37},
        KeyCase{"ArrowDown", SDL_SCANCODE_DOWN, SDLK_DOWN, 40},
        KeyCase{"Delete", SDL_SCANCODE_DELETE, SDLK_DELETE, 46},
        KeyCase{"Home", SDL_SCANCODE_HOME, SDLK_HOME, 36},
        KeyCase{"End", SDL_SCANCODE_END, SDLK_END, 35},
        KeyCase{"KeypadPlus", SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, 107},
        KeyCase{"Minus", SDL_SCANCODE_MINUS, SDLK_MINUS, 189}),
    [](const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST(KeyTranslation, KeyUpAndAutoRepeatAreDeliveredWithTheirDirection) {
  struct Case {
    const char* name;
    Uint32 type;
    Uint8 repeat;
    bool down;
  };
  for (const Case& c : {Case{"down", SDL_KEYDOWN, 0, true}, Case{"up", SDL_KEYUP, 0, false},
                        Case{"repeat", SDL_KEYDOWN, 1, true}}) {
    const WindowMessage message =
        TranslateEvent(KeyEvent(c.type, SDL_SCANCODE_P, SDLK_p, 0, c.repeat), kTypes);
    EXPECT_EQ(message.kind, MessageKind::kKey) << c.name;
    EXPECT_EQ(message.key, 'P') << c.name;
    EXPECT_EQ(message.down, c.down) << c.name;
  }
}

TEST(KeyTranslation, KeysWithoutCodeAndSystemKeysStayWithThePlatform) {
  struct Case {
    const char* name;
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    Uint16 mod;
  };
  for (const Case& c : {Case{"unmapped", SDL_SCANCODE_AUDIONEXT, SDLK_AUDIONEXT, 0},
                        Case{"F10", SDL_SCANCODE_F10, SDLK_F10, 0},
                        Case{"Alt", SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT},
                        Case{"Alt+X", SDL_SCANCODE_X, SDLK_x, KMOD_LALT}}) {
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
      EXPECT_EQ(TranslateEvent(KeyEvent(type, c.scancode, c.keycode, c.mod), kTypes).kind,
                MessageKind::kNone)
          << c.name;
    }
  }
  // Shift or Ctrl held does not make a key a system key, nor does Alt with
  // Ctrl (AltGr).
  for (Uint16 mod : {KMOD_LSHIFT | KMOD_LCTRL, KMOD_RALT | KMOD_LCTRL}) {
    const WindowMessage message =
        TranslateEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_X, SDLK_x, mod), kTypes);
    EXPECT_EQ(message.kind, MessageKind::kKey) << "mod " << mod;
    EXPECT_EQ(message.key, 'X') << "mod " << mod;
  }
}

SDL_Event ButtonEvent(Uint32 type, Uint8 button) {
  SDL_Event event{};
  event.type = type;
  event.button.windowID = 2;
  event.button.button = button;
  event.button.x = 15;
  event.button.y = 25;
  return event;
}

TEST(MouseTranslation, ButtonsAreNumberedLeftMiddleRight) {
  struct Case {
    Uint8 sdlButton;
    Uint32 type;
    WindowMessage expected;
  };
  const Case cases[] = {
      {SDL_BUTTON_LEFT, SDL_MOUSEBUTTONDOWN,
       {.kind = MessageKind::kMouseButton, .windowId = 2, .down = true, .x = 15, .y = 25, .button = 0}},
      {SDL_BUTTON_MIDDLE, SDL_MOUSEBUTTONDOWN,
       {.kind = MessageKind::kMouseButton, .windowId = 2, .down = true, .x = 15, .y = 25, .button = 1}},
      {SDL_BUTTON_RIGHT, SDL_MOUSEBUTTONUP,
       {.kind = MessageKind::kMouseButton, .windowId = 2, .down = false, .x = 15, .y = 25, .button = 2}},
      {SDL_BUTTON_LEFT, SDL_MOUSEBUTTONUP,
       {.kind = MessageKind::kMouseButton, .windowId = 2, .down = false, .x = 15, .y = 25, .button = 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TranslateEvent(ButtonEvent(c.type, c.sdlButton), kTypes), c.expected);
  }
  EXPECT_EQ(TranslateEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1), kTypes).kind,
            MessageKind::kNone);
}

TEST(MouseTranslation, MotionKeepsClientCoordinatesForTheDispatcherToFlip) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = 4;
  event.motion.x = 12;
  event.motion.y = 34;
  EXPECT_EQ(TranslateEvent(event, kTypes),
            (WindowMessage{.kind = MessageKind::kMouseMove, .windowId = 4, .x = 12, .y = 34}));
}

TEST(MouseTranslation, RowsFlipToABottomLeftOrigin) {
  struct Case {
    int y;
    int height;
    int flipped;
  };
  for (const Case& c : {Case{0, 600, 599}, Case{599, 600, 0}, Case{300, 600, 299},
                        Case{0, 1, 0}, Case{-1, 600, 600}, Case{600, 600, -1}}) {
    EXPECT_EQ(FlipY(c.y, c.height), c.flipped) << "row " << c.y << " of " << c.height;
  }
}

SDL_Event WindowEvent(Uint8 kind, int data1 = 0, int data2 = 0) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = 9;
  event.window.event = kind;
  event.window.data1 = data1;
  event.window.data2 = data2;
  return event;
}

TEST(WindowTranslation, WindowEventsBecomeFrameworkMessages) {
  struct Case {
    const char* name;
    SDL_Event event;
    WindowMessage expected;
  };
  const Case cases[] = {
      {"size changed", WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600),
       {.kind = MessageKind::kSize, .windowId = 9, .width = 800, .height = 600}},
      // Every resize also arrives as SIZE_CHANGED; RESIZED must not add a second call.
      {"resized", WindowEvent(SDL_WINDOWEVENT_RESIZED, 800, 600), {.windowId = 9}},
      {"close", WindowEvent(SDL_WINDOWEVENT_CLOSE, 5),
       {.kind = MessageKind::kClose, .windowId = 9, .code = 5}},
      {"exposed", WindowEvent(SDL_WINDOWEVENT_EXPOSED), {.kind = MessageKind::kExpose, .windowId = 9}},
      {"shown", WindowEvent(SDL_WINDOWEVENT_SHOWN), {.kind = MessageKind::kExpose, .windowId = 9}},
      {"enter", WindowEvent(SDL_WINDOWEVENT_ENTER), {.kind = MessageKind::kEnter, .windowId = 9}},
      {"leave", WindowEvent(SDL_WINDOWEVENT_LEAVE), {.kind = MessageKind::kLeave, .windowId = 9}},
      {"moved", WindowEvent(SDL_WINDOWEVENT_MOVED, 3, 4), {.windowId = 9}},
  };
  for (const Case& c : cases) EXPECT_EQ(TranslateEvent(c.event, kTypes), c.expected) << c.name;
}

TEST(WindowTranslation, PrivateEventsAreToldApartByTheirRegisteredTypes) {
  SDL_Event create{};
  create.type = kTypes.create;
  create.user.windowID = 3;
  EXPECT_EQ(TranslateEvent(create, kTypes),
            (WindowMessage{.kind = MessageKind::kCreate, .windowId = 3}));

  SDL_Event timer{};
  timer.type = kTypes.timer;
  timer.user.code = 12345;
  timer.user.data1 = reinterpret_cast<void*>(std::intptr_t{6});
  EXPECT_EQ(TranslateEvent(timer, kTypes),
            (WindowMessage{.kind = MessageKind::kTimer, .ticks = 12345, .timerId = 6}));

  SDL_Event foreign{};
  foreign.type = SDL_USEREVENT;
  EXPECT_EQ(TranslateEvent(foreign, kTypes).kind, MessageKind::kNone);

  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(TranslateEvent(quit, kTypes).kind, MessageKind::kQuit);
}

TEST(WindowTranslation, ADroppedFileCarriesItsPath) {
  char path[] = "/home/someone/plans/l shape.quarn";
  SDL_Event drop{};
  drop.type = SDL_DROPFILE;
  drop.drop.windowID = 2;
  drop.drop.file = path;
  EXPECT_EQ(TranslateEvent(drop, kTypes),
            (WindowMessage{.kind = MessageKind::kDropFile, .windowId = 2, .path = path}));
  drop.drop.file = nullptr;
  EXPECT_EQ(TranslateEvent(drop, kTypes).kind, MessageKind::kNone);
  drop.type = SDL_DROPTEXT;
  drop.drop.file = path;
  EXPECT_EQ(TranslateEvent(drop, kTypes).kind, MessageKind::kNone);
}

}  // namespace
}  // namespace quarn::fw
