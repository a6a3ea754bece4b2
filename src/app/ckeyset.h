#pragma once

#include <cstdint>

// The keys of one frame: which key was pressed since the last frame, and
// which keys have been pressed an odd number of times since construction.
//
// Keys are 8-bit character codes. Codes 32..94 map to bits 0..62 and codes
// 95..125 fold onto the bits of the codes 32 below them, so lower-case letters
// count as upper-case ones. Codes below 32 and from 126 up have no bit and are
// ignored. The window hands over only keys that have a character (see
// KeySetCharacter), so a function key never arrives here as a letter.
class CKeySet {
 public:
  // Presses each character of keys in order; the window passes "".
  explicit CKeySet(const char* keys = "");

  // Toggles the key and makes it the one key pressed this frame: a second
  // key in the same frame replaces the first.
  void Press(char key);
  bool WasPressed(char key) const;
  bool IsToggled(char key) const;
  // Ends the frame: no key counts as pressed any more; toggles stay.
  void ClearPressed();
  // Keys held down: set by a key-down, cleared by its key-up; frames do not
  // change them.
  void SetHeld(char key, bool down);
  bool IsHeld(char key) const;
  // Shift, which has no character, held down or not.
  void SetShiftHeld(bool down) { shift = down; }
  bool IsShiftHeld() const { return shift; }

 private:
  std::uint64_t pressed = 0;
  std::uint64_t toggled = 0;
  std::uint64_t held = 0;
  bool shift = false;
};
