#include "app/cbenchmode.h"

#include "app/modedrawing.h"

void CBenchMode::Resize(int width, int height) { SetPixelProjection(width, height); }

void CBenchMode::Draw(CBaseWindow&) { DrawFrame(); }

void CBenchMode::PrintHelp(std::span<const char* const> lines) const {
  for (const char* line : lines) *out << line;
  out->flush();
}
