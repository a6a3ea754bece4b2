#pragma once

#include <cstdarg>
#include <string>

// Drawing helpers shared by the modes. All work in the current GL context.

class CBaseWindow;
class CMode;

// Viewport and projection for a client area of width x height: origin at the
// centre, one unit one pixel, y up. An odd width, and an odd or zero height,
// are increased by 1 first; the model-view matrix is current afterwards.
void SetPixelProjection(int width, int height);

// Grid lines at z = 0 every spacing units from -spacing * halfCount to
// +spacing * halfCount on both axes.
void DrawGrid(int spacing, int halfCount);

// Four small arrow heads pointing at the origin, in pixels.
void DrawCursor();

// Starts a frame of a mode that draws on the grid: the mode's Resize with its
// GetWindowSize, no depth test or lighting, the grey pixel grid every
// pixelsPerUnit pixels, then a pushed model-view matrix in which one grid unit
// is pixelsPerUnit pixels and the cursor's grid point is the centre. The
// caller pops the matrix.
void BeginGridView(CMode& mode, int cursorX, int cursorY, int pixelsPerUnit);

// The text DrawText writes: printf-style formatting, cut to the 499
// characters its buffer holds.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatTextV(const char* format, std::va_list arguments)
    __attribute__((format(printf, 1, 0)));

// Writes a line of help text at pixel (x, y) counted from the top-left of the
// mode's GetWindowSize frame, in the caller's colour, then restores the
// mode's projection by calling its Resize.
void DrawText(CMode& mode, CBaseWindow& window, int x, int y, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
