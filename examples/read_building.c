/* A finished, typed, furnished building as plain data:
 *   cc read_building.c $(pkg-config --cflags --libs quarn) */
#include <quarn/quarn.h>
#include <stdio.h>
#include <string.h>

int main(void) {
  static const char outline[] = "(0,0)(0,15)(15,15)(15,0)*\n";
  static const char* const sides[] = {"west", "east", "south", "north"};
  quarn_settings settings;
  quarn_design* d;
  quarn_entrance entrance;
  quarn_stair stair;
  quarn_furniture piece;
  size_t storeys = 0, rooms = 0, pieces = 0, s, r, p;
  quarn_status status;
  quarn_init_settings(&settings, sizeof settings);
  settings.storeys = 2;
  settings.programme = "house";
  settings.furniture = 1;
  settings.navigation = 1;
  if (quarn_create(&d) != QUARN_OK) return 1;
  status = quarn_generate_text(d, outline, strlen(outline), &settings);
  if (status != QUARN_OK) {
    fprintf(stderr, "%s: %s\n", quarn_status_string(status), quarn_last_error(d));
    return 1;
  }
  quarn_get_entrance(d, 0, &entrance);
  quarn_get_stair(d, 0, 0, &stair);
  printf("libquarn %s: entrance in wall %d of room %d facing %s; stair rooms %d/%d, %zu steps\n",
         quarn_version(), entrance.wall, entrance.room, sides[entrance.facing], stair.room_below,
         stair.room_above, stair.step_count);
  quarn_storey_count(d, 0, &storeys);
  for (s = 0; s < storeys && quarn_room_count(d, 0, s, &rooms) == QUARN_OK; ++s) {
    for (r = 0; r < rooms; ++r) {
      quarn_room_type type;
      const char* name;
      int32_t doors;
      quarn_reach reach;
      quarn_get_room_type(d, 0, s, r, &type, &name);
      quarn_get_room_from_entrance(d, 0, s, r, &doors);
      quarn_get_room_reach(d, 0, s, r, &reach);
      printf("storey %zu room %zu: %-12s %d doors in, walk %.1f m\n", s, r, name, doors,
             reach.path_length);
    }
  }
  quarn_furniture_count(d, 0, &pieces);
  for (p = 0; p < pieces && quarn_get_furniture(d, 0, p, &piece) == QUARN_OK; ++p) {
    printf("%s in storey %d room %d at (%g,%g)-(%g,%g) facing %s\n", piece.kind, piece.storey,
           piece.room, piece.footprint[0], piece.footprint[1], piece.footprint[2],
           piece.footprint[3], sides[piece.facing]);
  }
  quarn_destroy(d);
  return 0;
}
