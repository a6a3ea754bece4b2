/* Reads a finished building back as plain data: cc read_building.c $(pkg-config --cflags --libs quarn) */
#include <quarn/quarn.h>
#include <stdio.h>
#include <string.h>

static const char* const kSides[] = {"west", "east", "south", "north"};

int main(void) {
  static const char outline[] = "(0,0)(0,15)(15,15)(15,0)*\n";
  quarn_settings settings;
  quarn_design* d;
  quarn_entrance entrance;
  quarn_stair stair;
  size_t storeys = 0, rooms = 0, s, r;
  int32_t doors;
  quarn_status status;
  quarn_init_settings(&settings, sizeof settings);
  settings.storeys = 2;
  if (quarn_create(&d) != QUARN_OK) return 1;
  status = quarn_generate_text(d, outline, strlen(outline), &settings);
  if (status != QUARN_OK) {
    fprintf(stderr, "%s: %s\n", quarn_status_string(status), quarn_last_error(d));
    return 1;
  }
  printf("libquarn %s\n", quarn_version());
  quarn_get_entrance(d, 0, &entrance);
  printf("entrance: wall %d into room %d at (%g, %g) facing %s\n", entrance.wall, entrance.room,
         entrance.centre[0], entrance.centre[1], kSides[entrance.facing]);
  quarn_get_stair(d, 0, 0, &stair);
  printf("stair 0->1: footprint (%d,%d)-(%d,%d) climbing %s, rooms %d/%d, %zu steps\n",
         stair.footprint[0], stair.footprint[1], stair.footprint[2], stair.footprint[3],
         kSides[stair.climb], stair.room_below, stair.room_above, stair.step_count);
  quarn_storey_count(d, 0, &storeys);
  for (s = 0; s < storeys; ++s) {
    quarn_room_count(d, 0, s, &rooms);
    for (r = 0; r < rooms; ++r) {
      quarn_get_room_from_entrance(d, 0, s, r, &doors);
      printf("storey %zu room %zu: %d doors from outside\n", s, r, doors);
    }
  }
  quarn_destroy(d);
  return 0;
}
