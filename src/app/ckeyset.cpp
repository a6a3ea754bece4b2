#include "app/ckeyset.h"

namespace {

// The key's bit, or 0 for a key without one.
std::uint64_t KeyBit(char key) {
  const unsigned code = static_cast<unsigned char>(key);
  if (code < 32 || code >= 126) return 0;
  const unsigned index = code < 95 ? code - 32 : code - 64;
  return std::uint64_t{1} << index;
}

}  // namespace

CKeySet::CKeySet(const char* keys) {
  for (const char* key = keys; *key != '\0'; ++key) Press(*key);
}

void CKeySet::Press(char key) {
  const std::uint64_t bit = KeyBit(key);
  if (bit == 0) return;
  toggled ^= bit;
  pressed = bit;
}

bool CKeySet::WasPressed(char key) const { return (pressed & KeyBit(key)) != 0; }

bool CKeySet::IsToggled(char key) const { return (toggled & KeyBit(key)) != 0; }

void CKeySet::ClearPressed() { pressed = 0; }

void CKeySet::SetHeld(char key, bool down) {
  if (down) {
    held |= KeyBit(key);
  } else {
    held &= ~KeyBit(key);
  }
}

bool CKeySet::IsHeld(char key) const { return (held & KeyBit(key)) != 0; }
