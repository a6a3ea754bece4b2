/* The C interface from C99: every function on good input, and every error
 * path (null handles and pointers, bad outlines and settings, indices out of
 * range, arrays and buffers too small, unwritable files, unknown formats). */
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
  CHECK(defaults.room_size == 45 && defaults.room_size_variance == 0 && defaults.storeys == 1 &&
        defaults.steps == QUARN_STEPS_ALL && defaults.seed == 0 && defaults.finished == 1);
  CHECK(quarn_generate_text(d, kTwoBuildings, strlen(kTwoBuildings), NULL) == QUARN_OK);
  CHECK(strcmp(quarn_last_error(d), "") == 0);
  CHECK(quarn_building_count(d, &count) == QUARN_OK && count == 2);
  storeys.storeys = 2;
  CHECK(quarn_generate_points(d, square, sizes, 1, &storeys) == QUARN_OK);
  CHECK(quarn_building_count(d, &count) == QUARN_OK && count == 1);
  CHECK(quarn_storey_count(d, 0, &count) == QUARN_OK && count == 2);
}

/* Each bad generation leaves no buildings and one message. */
static void test_bad_generation(quarn_design* d) {
  struct {
    const char* text;
    uint32_t storeys;
    quarn_status status;
  } cases[] = {
      {"(0,0)(5,0)*\n", 1, QUARN_ERROR_OUTLINE},
      {"not an outline\n", 1, QUARN_ERROR_OUTLINE},
      {"", 1, QUARN_ERROR_OUTLINE},
      {"(0,0)(0,5)(5,5)(5,0)*\n", 0, QUARN_ERROR_RANGE},
      {"(0,0)(0,5)(5,5)(5,0)*\n", 1001, QUARN_ERROR_RANGE},
  };
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    quarn_settings settings = quarn_default_settings();
    size_t count = 99;
    settings.storeys = cases[i].storeys;
    CHECK(quarn_generate_text(d, cases[i].text, strlen(cases[i].text), &settings) == cases[i].status);
    CHECK(strlen(quarn_last_error(d)) > 0);
    CHECK(quarn_building_count(d, &count) == QUARN_OK && count == 0);
  }
  CHECK(quarn_generate_text(d, NULL, 0, NULL) == QUARN_ERROR_NULL);
  CHECK(quarn_generate_points(d, NULL, NULL, 1, NULL) == QUARN_ERROR_NULL);
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
  test_null_handle();
  quarn_destroy(d);
  printf("%d checks, %d failed\n", checks, failures);
  return failures == 0 ? 0 : 1;
}
