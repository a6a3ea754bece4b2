#include "events.h"

#include <cstdint>
#include <utility>

namespace quarn::fw {
namespace {

// Keys whose code follows the key's position rather than the layout.
constexpr std::pair<SDL_Scancode, int> kScancodeKeys[] = {
    {SDL_SCANCODE_BACKSPACE, 8},  {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_RETURN, 13},    {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_LSHIFT, 16},    {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},     {SDL_SCANCODE_RCTRL, 17},
    {SDL_SCANCODE_LALT, 18},      {SDL_SCANCODE_RALT, 18},
    {SDL_SCANCODE_PAUSE, 19},     {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},    {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_PAGEUP, 33},    {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},       {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},      {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39},     {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},    {SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_1, '1'},        {SDL_SCANCODE_2, '2'},
    {SDL_SCANCODE_3, '3'},        {SDL_SCANCODE_4, '4'},
    {SDL_SCANCODE_5, '5'},        {SDL_SCANCODE_6, '6'},
    {SDL_SCANCODE_7, '7'},        {SDL_SCANCODE_8, '8'},
    {SDL_SCANCODE_9, '9'},        {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},      {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_KP_0, 96},      {SDL_SCANCODE_KP_1, 97},
    {SDL_SCANCODE_KP_2, 98},      {SDL_SCANCODE_KP_3, 99},
    {SDL_SCANCODE_KP_4, 100},     {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102},     {SDL_SCANCODE_KP_7, 103},
    {SDL_SCANCODE_KP_8, 104},     {SDL_SCANCODE_KP_9, 105},
    {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111}, {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145}, {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},   {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219}, {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221}, {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_F13, 124},      {SDL_SCANCODE_F14, 125},
    {SDL_SCANCODE_F15, 126},      {SDL_SCANCODE_F16, 127},
};

constexpr int kVirtualKeyF1 = 112;
constexpr int kVirtualKeyF10 = 121;

int LetterOf(SDL_Keycode keycode) {
  return keycode >= SDLK_a && keycode <= SDLK_z ? 'A' + (keycode - SDLK_a) : 0;
}

int LetterOf(SDL_Scancode scancode) {
  return scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z
             ? 'A' + (scancode - SDL_SCANCODE_A)
             : 0;
}

WindowMessage KeyMessage(const SDL_KeyboardEvent& key) {
  WindowMessage message;
  message.windowId = key.windowID;
  message.key = VirtualKeyOf(key.keysym);
  if (message.key == 0 || IsSystemKey(key.keysym)) return message;
  message.kind = MessageKind::kKey;
  message.down = key.type == SDL_KEYDOWN;
  return message;
}

int ButtonNumber(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_MIDDLE: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    default: return -1;
  }
}

WindowMessage ButtonMessage(const SDL_MouseButtonEvent& button) {
  WindowMessage message;
  message.windowId = button.windowID;
  message.button = ButtonNumber(button.button);
  if (message.button < 0 || button.which == SDL_TOUCH_MOUSEID) return message;
  message.kind = MessageKind::kMouseButton;
  message.down = button.type == SDL_MOUSEBUTTONDOWN;
  message.x = button.x;
  message.y = button.y;
  return message;
}

MessageKind WindowEventKind(Uint8 event) {
  switch (event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED: return MessageKind::kSize;
    case SDL_WINDOWEVENT_CLOSE: return MessageKind::kClose;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_RESTORED: return MessageKind::kExpose;
    case SDL_WINDOWEVENT_ENTER: return MessageKind::kEnter;
    case SDL_WINDOWEVENT_LEAVE: return MessageKind::kLeave;
    default: return MessageKind::kNone;
  }
}

WindowMessage WindowEventMessage(const SDL_WindowEvent& window) {
  WindowMessage message;
  message.windowId = window.windowID;
  message.kind = WindowEventKind(window.event);
  if (message.kind == MessageKind::kSize) {
    message.width = window.data1;
    message.height = window.data2;
  } else if (message.kind == MessageKind::kClose) {
    message.code = window.data1;
  }
  return message;
}

WindowMessage PrivateMessage(const SDL_UserEvent& user, const PrivateEventTypes& types) {
  WindowMessage message;
  message.windowId = user.windowID;
  if (user.type == types.create) {
    message.kind = MessageKind::kCreate;
  } else if (user.type == types.timer) {
    message.kind = MessageKind::kTimer;
    message.ticks = static_cast<std::uint32_t>(user.code);
    message.timerId = static_cast<int>(reinterpret_cast<std::intptr_t>(user.data1));
  }
  return message;
}

}  // namespace

int VirtualKeyOf(const SDL_Keysym& keysym) {
  if (const int letter = LetterOf(keysym.sym)) return letter;
  if (keysym.scancode >= SDL_SCANCODE_F1 && keysym.scancode <= SDL_SCANCODE_F12) {
    return kVirtualKeyF1 + (keysym.scancode - SDL_SCANCODE_F1);
  }
  for (const auto& [scancode, virtualKey] : kScancodeKeys) {
    if (scancode == keysym.scancode) return virtualKey;
  }
  // A layout without Latin letters still reports the letter key's position.
  return LetterOf(keysym.scancode);
}

bool IsSystemKey(const SDL_Keysym& keysym) {
  const bool alt = (keysym.mod & KMOD_ALT) != 0 || keysym.scancode == SDL_SCANCODE_LALT ||
                   keysym.scancode == SDL_SCANCODE_RALT;
  // Ctrl with Alt (AltGr on many layouts) types ordinary keys.
  const bool ctrl = (keysym.mod & KMOD_CTRL) != 0;
  return (alt && !ctrl) || VirtualKeyOf(keysym) == kVirtualKeyF10;
}

WindowMessage TranslateEvent(const SDL_Event& event, const PrivateEventTypes& types) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: return KeyMessage(event.key);
    case SDL_MOUSEMOTION: {
      if (event.motion.which == SDL_TOUCH_MOUSEID) return {};
      WindowMessage message;
      message.kind = MessageKind::kMouseMove;
      message.windowId = event.motion.windowID;
      message.x = event.motion.x;
      message.y = event.motion.y;
      return message;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return ButtonMessage(event.button);
    case SDL_WINDOWEVENT: return WindowEventMessage(event.window);
    case SDL_QUIT: return WindowMessage{.kind = MessageKind::kQuit};
    case SDL_DROPFILE: {
      if (event.drop.file == nullptr) return {};
      WindowMessage message;
      message.kind = MessageKind::kDropFile;
      message.windowId = event.drop.windowID;
      message.path = event.drop.file;
      return message;
    }
    default: break;
  }
  if (event.type >= SDL_USEREVENT && event.type < SDL_LASTEVENT) {
    return PrivateMessage(event.user, types);
  }
  return {};
}

namespace {

const char* KindName(MessageKind kind) {
  switch (kind) {
    case MessageKind::kNone: return "none";
    case MessageKind::kKey: return "key";
    case MessageKind::kMouseMove: return "mouse-move";
    case MessageKind::kMouseButton: return "mouse-button";
    case MessageKind::kSize: return "size";
    case MessageKind::kClose: return "close";
    case MessageKind::kExpose: return "expose";
    case MessageKind::kEnter: return "enter";
    case MessageKind::kLeave: return "leave";
    case MessageKind::kCreate: return "create";
    case MessageKind::kTimer: return "timer";
    case MessageKind::kQuit: return "quit";
    case MessageKind::kDropFile: return "drop-file";
  }
  return "?";
}

}  // namespace

std::ostream& operator<<(std::ostream& os, MessageKind kind) { return os << KindName(kind); }

std::ostream& operator<<(std::ostream& os, const WindowMessage& m) {
  return os << '{' << m.kind << " window " << m.windowId << " key " << m.key << " down "
            << m.down << " at (" << m.x << ',' << m.y << ") button " << m.button << " size "
            << m.width << 'x' << m.height << " code " << m.code << " ticks " << m.ticks
            << " timer " << m.timerId << " path " << m.path << '}';
}

}  // namespace quarn::fw
