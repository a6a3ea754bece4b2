/* The C interface from C99: every function on good input, and every error
 * path (null handles and pointers, bad outlines and settings, indices out of
 * range, arrays and buffers too small, unwritable files, unknown formats,
 * cancelled generations, parts the generation did not make). */
#include <quarn/quarn.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int failures = 0;
static int checks = 0;

#define CHECK(condition)                                              \
  do {                                                                \
    ++checks;                                                         \
    if (!(condition)) {                                               \
      ++failures;                                                     \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
    }                                                                 \
  } while (0)

static const char kTwoBuildings[] = "(0,0)(0,15)(15,15)(15,0)*\n(20,0)(20,10)(30,10)(30,0)*\n";

static void test_settings_and_generation(quarn_design* d) {
  const quarn_settings defaults = quarn_default_settings();
  size_t count = 0;
  quarn_settings storeys = defaults;
  const int32_t square[] = {0, 0, 0, 15, 15, 15, 15, 0};
  const size_t sizes[] = {4};
  quarn_settings first;
  CHECK(defaults.room_size == 45 && defaults.room_size_variance == 0 && defaults.storeys == 1 &&
        defaults.steps == QUARN_STEPS_ALL && defaults.seed == 0 && defaults.finished == 1);
  CHECK(defaults.size == sizeof(quarn_settings) && defaults.entrance_side == QUARN_SIDE_SOUTH &&
        defaults.unit == 1.0f && defaults.storey_height == 0.0f && defaults.programme == NULL &&
        defaults.furniture == 0 && defaults.progress == NULL);
  /* A caller built against the first version fills and passes only its fields. */
  memset(&first, 0xff, sizeof first);
  CHECK(quarn_init_settings(&first, QUARN_SETTINGS_SIZE_V1) == QUARN_OK &&
        first.size == QUARN_SETTINGS_SIZE_V1 && first.room_size == 45 && first.finished == 1 &&
        first.furniture == -1);
  CHECK(quarn_generate_points(d, square, sizes, 1, &first) == QUARN_OK);
  CHECK(strcmp(quarn_version(), QUARN_VERSION_STRING) == 0);
  CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), NULL) == QUARN_OK);
  CHECK(strcmp(quarn_last_error(d), "") == 0);
  CHECK(quarn_building_count(d, &count) == QUARN_OK && count == 2);
  storeys.storeys = 2;
  CHECK(quarn_generate_points(d, square, sizes, 1, &storeys) == QUARN_OK);
  CHECK(quarn_building_count(d, &count) == QUARN_OK && count == 1);
  CHECK(quarn_storey_count(d, 0, &count) == QUARN_OK && count == 2);
}

struct progress_log {
  int calls;
  uint64_t last_done, last_total;
  int cancel_at; /* the call that returns non-zero, or 0 */
  int ordered;   /* 1 while done never went back */
};

static int log_progress(void* user, uint64_t done, uint64_t total) {
  struct progress_log* log = (struct progress_log*)user;
  if (done < log->last_done || done > total) log->ordered = 0;
  log->last_done = done;
  log->last_total = total;
  return ++log->calls == log->cancel_at;
}

/* Typed, furnished and navigated buildings read back; each layer is
 * unavailable where the settings did not ask for it. */
static void test_layers(quarn_design* d) {
  static const char kSquare[] = "(0,0)(0,15)(15,15)(15,0)*\n";
  quarn_settings settings = quarn_default_settings();
  quarn_room_type type;
  const char* name = NULL;
  quarn_furniture piece;
  quarn_box boxes[64];
  quarn_reach reach, first;
  float corners[3 * 64];
  size_t rooms = 0, pieces = 0, count = 0, r;
  int typed = 0, reached = 0;
  settings.storeys = 2;
  settings.programme = "house";
  settings.furniture = 1;
  settings.navigation = 1;
  CHECK(quarn_generate_text(d, kSquare, strlen(kSquare), &settings) == QUARN_OK);
  CHECK(quarn_room_count(d, 0, 1, &rooms) == QUARN_OK && rooms > 0);
  CHECK(quarn_get_room_reach(d, 0, 0, 0, &first) == QUARN_OK);
  for (r = 0; r < rooms; ++r) {
    CHECK(quarn_get_room_type(d, 0, 1, r, &type, &name) == QUARN_OK);
    typed += type >= QUARN_ROOM_HALL && quarn_room_type_key(type) != NULL && strlen(name) > 0;
    CHECK(quarn_get_room_reach(d, 0, 1, r, &reach) == QUARN_OK);
    reached += reach.reachable == 1 && reach.path_length > 0 && strlen(reach.reason) == 0;
  }
  CHECK(typed == (int)rooms && reached == (int)rooms);
  CHECK(strcmp(quarn_room_type_key(QUARN_ROOM_KITCHENETTE), "kitchenette") == 0 &&
        quarn_room_type_key(QUARN_ROOM_UNTYPED) == NULL && quarn_room_type_key(14) == NULL);
  CHECK(quarn_furniture_count(d, 0, &pieces) == QUARN_OK && pieces > 0);
  CHECK(quarn_get_furniture(d, 0, 0, &piece) == QUARN_OK && strlen(piece.kind) > 0 &&
        piece.footprint[0] < piece.footprint[2] && piece.box_count > 0);
  CHECK(quarn_get_furniture_boxes(d, 0, 0, boxes, 64, &count) == QUARN_OK &&
        count == piece.box_count && boxes[0].min[2] >= 0.0f);
  CHECK(quarn_get_furniture(d, 0, pieces, &piece) == QUARN_ERROR_RANGE);
  /* From the freest floor of the first room up to that of the last. */
  CHECK(quarn_find_path(d, 0, first.free_point, reach.free_point, corners, 64, &count) == QUARN_OK &&
        count >= 2 && corners[3 * count - 1] > 2.0f);
  CHECK(quarn_find_path(d, 0, first.free_point, reach.free_point, corners, 1, &count) ==
        QUARN_ERROR_BUFFER_SIZE);
  corners[0] = 1e6f;
  CHECK(quarn_find_path(d, 0, corners, reach.free_point, NULL, 0, &count) == QUARN_OK && count == 0);
  CHECK(quarn_find_path(d, 0, NULL, reach.free_point, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_note_count(d, 0, QUARN_NOTES_UNREACHABLE, &count) == QUARN_OK && count == 0);
  settings.furniture = 0;
  settings.navigation = 0;
  CHECK(quarn_generate_text(d, kSquare, strlen(kSquare), &settings) == QUARN_OK);
  CHECK(quarn_get_room_type(d, 0, 0, 0, &type, &name) == QUARN_OK);
  CHECK(quarn_furniture_count(d, 0, &pieces) == QUARN_ERROR_UNAVAILABLE);
  CHECK(quarn_get_room_reach(d, 0, 0, 0, &reach) == QUARN_ERROR_UNAVAILABLE);
  CHECK(quarn_find_path(d, 0, first.free_point, reach.free_point, NULL, 0, &count) ==
        QUARN_ERROR_UNAVAILABLE);
  settings.programme = NULL;
  CHECK(quarn_generate_text(d, kSquare, strlen(kSquare), &settings) == QUARN_OK);
  CHECK(quarn_get_room_type(d, 0, 0, 0, &type, &name) == QUARN_ERROR_UNAVAILABLE);
  CHECK(quarn_get_room_type(d, 0, 0, 0, NULL, &name) == QUARN_ERROR_NULL);
}

/* Progress counts every design step up to the total; cancelling leaves no
 * buildings and a handle that generates again. */
static void test_progress_and_cancel(quarn_design* d) {
  quarn_settings settings = quarn_default_settings();
  struct progress_log log = {0, 0, 0, 0, 1};
  size_t count = 9;
  settings.progress = log_progress;
  settings.progress_user = &log;
  settings.storeys = 2;
  CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), &settings) == QUARN_OK);
  CHECK(log.calls >= 2 && log.ordered && log.last_done == log.last_total && log.last_total > 0);
  log.calls = 0;
  log.cancel_at = 1;
  CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), &settings) ==
        QUARN_ERROR_CANCELLED);
  CHECK(strstr(quarn_last_error(d), "cancelled") != NULL);
  CHECK(quarn_building_count(d, &count) == QUARN_OK && count == 0);
  CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), NULL) == QUARN_OK);
  CHECK(quarn_building_count(d, &count) == QUARN_OK && count == 2);
}

/* Each bad generation leaves no buildings and one message. */
static void test_bad_generation(quarn_design* d) {
  enum { STOREYS, SIZE, SIDE, UNIT, HEIGHT, FURNITURE, NAVIGATION, PROGRAMME, UNFINISHED, NONE };
  static const char kSquare[] = "(0,0)(0,5)(5,5)(5,0)*\n";
  struct {
    const char* text;
    int field; /* the setting changed */
    double value;
    quarn_status status;
  } cases[] = {
      {"(0,0)(5,0)*\n", NONE, 0, QUARN_ERROR_OUTLINE},
      {"not an outline\n", NONE, 0, QUARN_ERROR_OUTLINE},
      {"", NONE, 0, QUARN_ERROR_OUTLINE},
      {"(0,0)(0,30000)(5,30000)(5,0)*\n", NONE, 0, QUARN_ERROR_OUTLINE},
      {kSquare, STOREYS, 0, QUARN_ERROR_RANGE},
      {kSquare, STOREYS, 1001, QUARN_ERROR_RANGE},
      {kSquare, SIZE, 0, QUARN_ERROR_RANGE},
      {kSquare, SIZE, 27, QUARN_ERROR_RANGE},
      {kSquare, SIZE, sizeof(quarn_settings) + 8, QUARN_ERROR_RANGE},
      {kSquare, SIDE, 4, QUARN_ERROR_RANGE},
      {kSquare, SIDE, -1, QUARN_ERROR_RANGE},
      {kSquare, UNIT, 0, QUARN_ERROR_RANGE},
      {kSquare, UNIT, 2e6, QUARN_ERROR_RANGE},
      {kSquare, HEIGHT, -1, QUARN_ERROR_RANGE},
      {kSquare, FURNITURE, 2, QUARN_ERROR_RANGE},
      {kSquare, FURNITURE, 1, QUARN_ERROR_RANGE}, /* without a programme */
      {kSquare, NAVIGATION, 2, QUARN_ERROR_RANGE},
      {kSquare, UNFINISHED, 0, QUARN_ERROR_RANGE}, /* a programme, not finished */
      {kSquare, PROGRAMME, 0, QUARN_ERROR_PROGRAMME},
      {kSquare, PROGRAMME, 1, QUARN_ERROR_PROGRAMME},
  };
  const int32_t points[] = {0, 0, 0, 5, 5, 5, 5, 0};
  const size_t empty_loop[] = {4, 0}, one_point[] = {4, 1};
  size_t i, count = 99;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    quarn_settings settings = quarn_default_settings();
    switch (cases[i].field) {
      case STOREYS: settings.storeys = (uint32_t)cases[i].value; break;
      case SIZE: settings.size = (uint32_t)cases[i].value; break;
      case SIDE: settings.entrance_side = (int32_t)cases[i].value; break;
      case UNIT: settings.unit = (float)cases[i].value; break;
      case HEIGHT: settings.storey_height = (float)cases[i].value; break;
      case FURNITURE: settings.furniture = (int32_t)cases[i].value; break;
      case NAVIGATION: settings.navigation = (int32_t)cases[i].value; break;
      case PROGRAMME: settings.programme = cases[i].value == 0 ? "no such programme" : "{\"name\":"; break;
      case UNFINISHED: settings.programme = "house"; settings.finished = 0; break;
      default: break;
    }
    CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), NULL) == QUARN_OK);
    CHECK(quarn_generate_text(d, cases[i].text, strlen(cases[i].text), &settings) == cases[i].status);
    CHECK(strlen(quarn_last_error(d)) > 0);
    CHECK(quarn_building_count(d, &count) == QUARN_OK && count == 0);
  }
  /* A loop of 0 points is refused as one of 1 point is, naming the loop. */
  CHECK(quarn_generate_points(d, points, empty_loop, 2, NULL) == QUARN_ERROR_OUTLINE);
  CHECK(strstr(quarn_last_error(d), "loop 2") != NULL);
  CHECK(quarn_generate_points(d, points, one_point, 2, NULL) == QUARN_ERROR_OUTLINE);
  CHECK(strstr(quarn_last_error(d), "loop 2") != NULL);
  CHECK(quarn_generate_text(d, NULL, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_generate_points(d, NULL, NULL, 1, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_init_settings(NULL, sizeof(quarn_settings)) == QUARN_ERROR_NULL);
  CHECK(quarn_init_settings((quarn_settings*)&count, 3) == QUARN_ERROR_RANGE);
  for (i = 0; i <= QUARN_ERROR_PROGRAMME; ++i) {
    CHECK(strncmp(quarn_status_string((int)i), "QUARN_", 6) == 0);
  }
  CHECK(strcmp(quarn_status_string(QUARN_ERROR_CANCELLED), "QUARN_ERROR_CANCELLED") == 0);
  CHECK(strcmp(quarn_status_string(99), "unknown status") == 0);
}

static void test_reading_back(quarn_design* d) {
  size_t rooms = 0, points = 0, walls = 0, slabs = 0, i;
  int64_t area = 0;
  quarn_room room;
  int32_t xy[64];
  quarn_wall wall_array[64];
  quarn_slab slab_array[64];
  int doors = 0;
  CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), NULL) == QUARN_OK);
  CHECK(quarn_room_count(d, 0, 0, &rooms) == QUARN_OK && rooms == 5);
  for (i = 0; i < rooms; ++i) {
    CHECK(quarn_get_room(d, 0, 0, i, &room) == QUARN_OK && room.complete == 1);
    area += room.area;
  }
  CHECK(area == 225);
  CHECK(quarn_get_room_outline(d, 0, 0, 0, NULL, 0, &points) == QUARN_OK && points == 4);
  CHECK(quarn_get_room_outline(d, 0, 0, 0, xy, 3, &points) == QUARN_ERROR_BUFFER_SIZE);
  CHECK(quarn_get_room_outline(d, 0, 0, 0, xy, 32, &points) == QUARN_OK && points == 4);
  CHECK(quarn_get_walls(d, 0, 0, NULL, 0, &walls) == QUARN_OK && walls > 4);
  CHECK(quarn_get_walls(d, 0, 0, wall_array, 1, &walls) == QUARN_ERROR_BUFFER_SIZE);
  CHECK(quarn_get_walls(d, 0, 0, wall_array, 64, &walls) == QUARN_OK);
  for (i = 0; i < walls; ++i) {
    CHECK(wall_array[i].room_a >= 0 && wall_array[i].room_a < 5 && wall_array[i].room_b < 5);
    if (wall_array[i].room_b >= 0) doors += wall_array[i].opening == QUARN_OPENING_DOOR;
  }
  CHECK(doors > 0);
  CHECK(quarn_get_slabs(d, 0, 0, slab_array, 64, &slabs) == QUARN_OK && slabs >= 5);
  CHECK(slab_array[0].room == 0 && slab_array[0].min[2] < 0 && slab_array[0].max[2] > 0);
}

/* Indices out of range and null outputs, for every reader. */
static void test_bad_reads(quarn_design* d) {
  size_t count;
  quarn_room room;
  CHECK(quarn_storey_count(d, 2, &count) == QUARN_ERROR_RANGE);
  CHECK(quarn_room_count(d, 0, 1, &count) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_room(d, 0, 0, 5, &room) == QUARN_ERROR_RANGE);
  CHECK(strstr(quarn_last_error(d), "room 5 of 5") != NULL);
  CHECK(quarn_get_room_outline(d, 1, 0, 9, NULL, 0, &count) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_walls(d, 3, 0, NULL, 0, &count) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_slabs(d, 0, 7, NULL, 0, &count) == QUARN_ERROR_RANGE);
  CHECK(quarn_building_count(d, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_storey_count(d, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_room_count(d, 0, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_room(d, 0, 0, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_room_outline(d, 0, 0, 0, NULL, 4, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_walls(d, 0, 0, NULL, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_slabs(d, 0, 0, NULL, 1, &count) == QUARN_ERROR_NULL);
}

static void test_writing(quarn_design* d, const char* folder) {
  struct {
    quarn_format format;
    const char* start; /* the first bytes of the output */
    quarn_status to_buffer;
  } cases[] = {
      {QUARN_FORMAT_JSON, "{\"format\":\"quarn-plan\"", QUARN_OK},
      {QUARN_FORMAT_SVG, "<?xml", QUARN_OK},
      {QUARN_FORMAT_PDF, "%PDF", QUARN_OK},
      {QUARN_FORMAT_PNG, "\x89PNG", QUARN_OK},
      {QUARN_FORMAT_GLB, "glTF", QUARN_OK},
      {QUARN_FORMAT_GLTF, "{", QUARN_ERROR_FORMAT},
      {QUARN_FORMAT_OBJ, "#", QUARN_ERROR_FORMAT},
      {QUARN_FORMAT_FBX, ";", QUARN_ERROR_FORMAT},
  };
  static const char* const names[] = {"p.json", "p.svg", "p.pdf", "p.png", "p.glb", "p.gltf", "p.obj", "p.fbx"};
  char path[4096];
  size_t i, size = 0;
  char small[4];
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    FILE* file;
    char head[32] = {0};
    size_t start = strlen(cases[i].start);
    sprintf(path, "%s/%s", folder, names[i]);
    CHECK(quarn_write_file(d, cases[i].format, path) == QUARN_OK);
    file = fopen(path, "rb");
    CHECK(file != NULL && fread(head, 1, start, file) == start && memcmp(head, cases[i].start, start) == 0);
    if (file) fclose(file);
    CHECK(quarn_write_buffer(d, cases[i].format, NULL, 0, &size) == cases[i].to_buffer);
    if (cases[i].to_buffer == QUARN_OK) {
      char* buffer = (char*)malloc(size);
      size_t written = 0;
      CHECK(size > start && quarn_write_buffer(d, cases[i].format, small, sizeof small, &written) ==
                                QUARN_ERROR_BUFFER_SIZE && written == size);
      CHECK(buffer && quarn_write_buffer(d, cases[i].format, buffer, size, &written) == QUARN_OK &&
            written == size && memcmp(buffer, cases[i].start, start) == 0);
      free(buffer);
    }
  }
  sprintf(path, "%s/no-such-folder/p.json", folder);
  CHECK(quarn_write_file(d, QUARN_FORMAT_JSON, path) == QUARN_ERROR_IO);
  CHECK(strstr(quarn_last_error(d), "p.json") != NULL);
  CHECK(quarn_write_file(d, 99, path) == QUARN_ERROR_RANGE);
  CHECK(quarn_write_file(d, QUARN_FORMAT_JSON, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_write_buffer(d, -1, NULL, 0, &size) == QUARN_ERROR_RANGE);
  CHECK(quarn_write_buffer(d, QUARN_FORMAT_JSON, NULL, 8, &size) == QUARN_ERROR_NULL);
  CHECK(quarn_write_buffer(d, QUARN_FORMAT_JSON, small, 4, NULL) == QUARN_ERROR_NULL);
}

/* Every entry refuses a null handle. */
static void test_null_handle(void) {
  size_t count;
  quarn_room room;
  CHECK(quarn_create(NULL) == QUARN_ERROR_NULL);
  quarn_destroy(NULL);
  CHECK(strlen(quarn_last_error(NULL)) > 0);
  CHECK(quarn_generate_text(NULL, "", 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_generate_points(NULL, NULL, NULL, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_building_count(NULL, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_storey_count(NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_room_count(NULL, 0, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_room(NULL, 0, 0, 0, &room) == QUARN_ERROR_NULL);
  CHECK(quarn_get_room_outline(NULL, 0, 0, 0, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_walls(NULL, 0, 0, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_slabs(NULL, 0, 0, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_write_file(NULL, QUARN_FORMAT_JSON, "x") == QUARN_ERROR_NULL);
  CHECK(quarn_write_buffer(NULL, QUARN_FORMAT_JSON, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_entrance(NULL, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_stair_count(NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_stair(NULL, 0, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_stair_steps(NULL, 0, 0, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_room_from_entrance(NULL, 0, 0, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_note_count(NULL, 0, QUARN_NOTES_MISSING, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_note(NULL, 0, QUARN_NOTES_MISSING, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_wall_pieces(NULL, 0, 0, 0, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_room_doors(NULL, 0, 0, 0, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_room_type(NULL, 0, 0, 0, NULL, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_furniture_count(NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_furniture(NULL, 0, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_furniture_boxes(NULL, 0, 0, NULL, 0, &count) == QUARN_ERROR_NULL);
  CHECK(quarn_get_room_reach(NULL, 0, 0, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_find_path(NULL, 0, NULL, NULL, NULL, 0, &count) == QUARN_ERROR_NULL);
}

/* Finished buildings dump as version 2 with their entrance; the design alone
 * as version 1 without one. */
static void test_finishing(quarn_design* d) {
  static char dump[1 << 16];
  size_t size = 0;
  int finished;
  for (finished = 0; finished <= 1; ++finished) {
    quarn_settings settings = quarn_default_settings();
    settings.finished = finished;
    CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), &settings) == QUARN_OK);
    CHECK(quarn_write_buffer(d, QUARN_FORMAT_JSON, dump, sizeof dump - 1, &size) == QUARN_OK);
    dump[size < sizeof dump ? size : sizeof dump - 1] = '\0';
    CHECK((strstr(dump, "\"version\":2") != NULL) == finished);
    CHECK((strstr(dump, "\"entrance\":{") != NULL) == finished);
  }
}

/* The finished building's parts read back; the design alone has none. */
static void test_finished_parts(quarn_design* d) {
  quarn_settings settings = quarn_default_settings();
  quarn_entrance entrance;
  quarn_stair stair;
  quarn_box steps[32];
  size_t count = 0;
  int32_t doors = -2;
  const char* note = NULL;
  struct progress_log log = {0, 0, 0, 0, 1};
  static const char kSquare[] = "(0,0)(0,15)(15,15)(15,0)*\n";
  quarn_wall walls[64];
  int32_t door_walls[16];
  size_t i;
  int entrance_door = 0;
  settings.storeys = 2;
  CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), &settings) == QUARN_OK);
  CHECK(quarn_get_entrance(d, 0, &entrance) == QUARN_OK && entrance.missing == QUARN_PRESENT &&
        entrance.facing == QUARN_SIDE_SOUTH && entrance.centre[1] == 0.0f);
  CHECK(quarn_get_room_from_entrance(d, 0, 0, (size_t)entrance.room, &doors) == QUARN_OK &&
        doors == 1);
  CHECK(quarn_get_walls(d, 0, 0, walls, 64, &count) == QUARN_OK &&
        walls[entrance.wall].opening == QUARN_OPENING_ENTRANCE);
  CHECK(quarn_get_room_doors(d, 0, 0, (size_t)entrance.room, door_walls, 16, &count) == QUARN_OK);
  for (i = 0; i < count; ++i) entrance_door += door_walls[i] == entrance.wall;
  CHECK(entrance_door == 1);
  CHECK(quarn_get_wall_pieces(d, 0, 0, (size_t)entrance.wall, steps, 32, &count) == QUARN_OK &&
        count >= 2 && steps[0].max[2] == 1.5f);
  CHECK(quarn_get_wall_pieces(d, 0, 0, 999, steps, 32, &count) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_room_doors(d, 0, 0, 99, NULL, 0, &count) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_room_doors(d, 0, 0, 0, NULL, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_stair_count(d, 0, &count) == QUARN_OK && count == 1);
  CHECK(quarn_get_stair(d, 0, 0, &stair) == QUARN_OK && stair.missing == QUARN_PRESENT &&
        stair.lower == 0 && stair.step_count == 17);
  CHECK(quarn_get_stair_steps(d, 0, 0, steps, 32, &count) == QUARN_OK && count == 17 &&
        steps[0].min[2] == 0.0f && steps[16].max[2] > steps[0].max[2]);
  CHECK(quarn_get_room_from_entrance(d, 0, 1, (size_t)stair.room_above, &doors) == QUARN_OK &&
        doors >= 2);
  CHECK(quarn_note_count(d, 0, QUARN_NOTES_MISSING, &count) == QUARN_OK && count == 0);
  CHECK(quarn_get_entrance(d, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_stair(d, 0, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_stair_steps(d, 0, 0, NULL, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_note(d, 0, QUARN_NOTES_MISSING, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_get_stair(d, 0, 1, &stair) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_entrance(d, 2, &entrance) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_room_from_entrance(d, 1, 0, 9, &doors) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_note(d, 0, QUARN_NOTES_MISSING, 0, &note) == QUARN_ERROR_RANGE);
  /* One step more than the ground storey takes (half of all): the upper
   * storey is not complete, so the stair is missing. */
  settings.progress = log_progress;
  settings.progress_user = &log;
  CHECK(quarn_generate_text(d, kSquare, strlen(kSquare), &settings) == QUARN_OK);
  settings.progress = NULL;
  settings.steps = (uint32_t)(log.last_total / 2 + 1);
  CHECK(quarn_generate_text(d, kSquare, strlen(kSquare), &settings) == QUARN_OK);
  CHECK(quarn_get_entrance(d, 0, &entrance) == QUARN_OK && entrance.missing == QUARN_PRESENT);
  CHECK(quarn_get_stair(d, 0, 0, &stair) == QUARN_OK && stair.missing == QUARN_MISSING_INCOMPLETE);
  CHECK(quarn_get_stair_steps(d, 0, 0, NULL, 0, &count) == QUARN_OK && count == 0);
  CHECK(quarn_note_count(d, 0, QUARN_NOTES_MISSING, &count) == QUARN_OK && count == 1);
  CHECK(quarn_get_note(d, 0, QUARN_NOTES_MISSING, 0, &note) == QUARN_OK &&
        strcmp(note, "no stair from storey 0 to 1: storey 1 is not complete") == 0);
  /* Two design steps: the ground storey is not complete. */
  settings.steps = 2;
  CHECK(quarn_generate_text(d, kSquare, strlen(kSquare), &settings) == QUARN_OK);
  CHECK(quarn_get_entrance(d, 0, &entrance) == QUARN_OK &&
        entrance.missing == QUARN_MISSING_INCOMPLETE && entrance.wall == 0);
  CHECK(quarn_get_room_from_entrance(d, 0, 0, 0, &doors) == QUARN_OK && doors == -1);
  settings.finished = 0;
  CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), &settings) == QUARN_OK);
  CHECK(quarn_get_entrance(d, 0, &entrance) == QUARN_ERROR_UNAVAILABLE);
  CHECK(quarn_stair_count(d, 0, &count) == QUARN_ERROR_UNAVAILABLE);
  CHECK(quarn_get_room_from_entrance(d, 0, 0, 0, &doors) == QUARN_ERROR_UNAVAILABLE);
  CHECK(quarn_note_count(d, 0, QUARN_NOTES_MISSING, &count) == QUARN_OK && count == 0);
  CHECK(quarn_note_count(d, 0, 4, &count) == QUARN_ERROR_RANGE);
  CHECK(quarn_get_room_doors(d, 0, 0, 0, NULL, 0, &count) == QUARN_ERROR_UNAVAILABLE);
  CHECK(quarn_get_wall_pieces(d, 0, 0, 0, NULL, 0, &count) == QUARN_OK && count >= 1);
}

int main(int argc, char** argv) {
  quarn_design* d = NULL;
  if (argc != 2) {
    fprintf(stderr, "usage: %s SCRATCH_FOLDER\n", argv[0]);
    return 2;
  }
  CHECK(quarn_create(&d) == QUARN_OK && d != NULL);
  test_settings_and_generation(d);
  test_bad_generation(d);
  test_reading_back(d);
  test_bad_reads(d);
  test_writing(d, argv[1]);
  test_finishing(d);
  test_finished_parts(d);
  test_progress_and_cancel(d);
  test_layers(d);
  test_null_handle();
  quarn_destroy(d);
  printf("%d checks, %d failed\n", checks, failures);
  return failures == 0 ? 0 : 1;
}
