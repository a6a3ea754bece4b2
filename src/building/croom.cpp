#include "building/croom.h"

CRoom::CRoom(CFloor* floor_, const CPolygon2& outline_, bool complete_)
    : floor(floor_), outline(outline_), complete(complete_) {
  outline.RemoveSplits(0);
  outline.RemoveSplits(1);
  wallOutline = outline;
}
