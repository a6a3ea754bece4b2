#include "app/cmousestate.h"

void CMouseState::Press(std::uint8_t mask) { buttons |= mask; }

void CMouseState::Release(std::uint8_t mask) { buttons &= static_cast<std::uint8_t>(~mask); }

void CMouseState::SetPosition(int x, int y) { position = CPoint2(x, y); }

bool CMouseState::IsDown(std::uint8_t mask) const { return (buttons & mask) != 0; }

bool CMouseState::WentDown(std::uint8_t mask) const {
  if ((prevButtons & mask) != 0) return false;
  return IsDown(mask);
}

bool CMouseState::WentUp(std::uint8_t mask) const {
  if ((buttons & mask) != 0) return false;
  return (prevButtons & mask) != 0;
}

CPoint2 CMouseState::GetDelta() const { return position - prevPosition; }

void CMouseState::EndFrame() {
  prevButtons = buttons;
  prevPosition = position;
}
