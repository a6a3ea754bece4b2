/* QUARN: building interiors from outlines, as a C library.
 *
 * One handle (quarn_design) holds the buildings of one generation and the
 * message of its last call. Handles share nothing: any number of them may
 * be used at once from any threads; calls on one handle are serialised, so
 * quarn_last_error belongs to the thread's own last call only when each
 * thread keeps a handle of its own. Every function
 * returns a quarn_status; QUARN_OK is 0. On failure nothing an output
 * pointer names is changed (sizes excepted, where stated), and
 * quarn_last_error(handle) says why. The library never prints and never
 * exits.
 *
 * Units are grid units of the outline, x right, y up, z up; outlines are
 * closed rectilinear loops. Indices count from 0: buildings in outline
 * order, storeys lowest first, rooms in the order they were designed, walls
 * in the order first met.
 */
#ifndef QUARN_QUARN_H
#define QUARN_QUARN_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define QUARN_API __attribute__((visibility("default")))
#else
#define QUARN_API
#endif

typedef enum quarn_status {
  QUARN_OK = 0,
  QUARN_ERROR_NULL = 1,         /* a required pointer was null */
  QUARN_ERROR_OUTLINE = 2,      /* the outline text or points are not usable */
  QUARN_ERROR_RANGE = 3,        /* an index or a setting is out of range */
  QUARN_ERROR_BUFFER_SIZE = 4,  /* the caller's array or buffer is too small */
  QUARN_ERROR_IO = 5,           /* a file could not be written */
  QUARN_ERROR_FORMAT = 6,       /* the format cannot be written that way */
  QUARN_ERROR_MEMORY = 7,       /* out of memory */
  QUARN_ERROR_INTERNAL = 8      /* anything else; the message says what */
} quarn_status;

/* The output formats: the plan dump (JSON), drawn floor plans, 3D scenes.
 * GLTF and OBJ write several files (and FBX with textures), so they go to
 * files only. */
typedef enum quarn_format {
  QUARN_FORMAT_JSON = 0,
  QUARN_FORMAT_SVG = 1,
  QUARN_FORMAT_PDF = 2,
  QUARN_FORMAT_PNG = 3,
  QUARN_FORMAT_GLB = 4,
  QUARN_FORMAT_GLTF = 5,
  QUARN_FORMAT_OBJ = 6,
  QUARN_FORMAT_FBX = 7
} quarn_format;

/* A step budget that designs every building to its end. */
#define QUARN_STEPS_ALL 0xFFFFFFFFu

/* How every building of one generation is designed. Start from
 * quarn_default_settings(): the values the application uses. */
typedef struct quarn_settings {
  uint32_t room_size;          /* target room area in grid cells: 45 */
  uint32_t room_size_variance; /* how far a room may deviate from it: 0 */
  uint32_t storeys;            /* storeys per building, 1 to 1000: 1 */
  uint32_t steps;              /* design decisions per building: QUARN_STEPS_ALL */
  int32_t seed;                /* added to every storey's seed: 0 */
  int32_t finished;            /* 1: every output gets the entrance, the stairs and
                                  3 m storeys, as quarn-gen writes by default; 0: the
                                  design alone (plan dump version 1): 1 */
} quarn_settings;

QUARN_API quarn_settings quarn_default_settings(void);

/* One room: its designed outline has outline_points points; area in grid
 * cells; complete is 0 only for a room the step budget stopped. */
typedef struct quarn_room {
  size_t outline_points;
  int64_t area;
  int complete;
} quarn_room;

/* How a wall is opened. */
typedef enum quarn_opening { QUARN_OPENING_NONE = 0, QUARN_OPENING_DOOR = 1, QUARN_OPENING_WINDOW = 2 } quarn_opening;

/* One wall: its edge from (x1,y1) to (x2,y2), the rooms on its sides (room_b
 * is -1 for an outer wall) and its opening. */
typedef struct quarn_wall {
  int32_t x1, y1, x2, y2;
  int32_t room_a, room_b;
  quarn_opening opening;
} quarn_wall;

/* One box of a room's floor slab. */
typedef struct quarn_slab {
  int32_t room;
  float min[3];
  float max[3];
} quarn_slab;

typedef struct quarn_design quarn_design;

/* Makes an empty handle in *design (no buildings yet). The only failure is
 * QUARN_ERROR_NULL or QUARN_ERROR_MEMORY; there is then no handle to ask. */
QUARN_API quarn_status quarn_create(quarn_design** design);
/* Frees the handle; null is ignored. */
QUARN_API void quarn_destroy(quarn_design* design);
/* The message of the handle's last call ("" when it succeeded); valid until
 * the next call on the handle. A null handle gives a fixed message. */
QUARN_API const char* quarn_last_error(const quarn_design* design);

/* Generates one building per loop of the outline text (length bytes, one
 * "(x,y)(x,y)...*" loop a line), replacing the handle's buildings. settings
 * may be null for the defaults. On failure the handle keeps no buildings. */
QUARN_API quarn_status quarn_generate_text(quarn_design* design, const char* text, size_t length,
                                           const quarn_settings* settings);
/* The same from points: loop i has loop_sizes[i] points, taken in turn from
 * xy (x then y for each point). */
QUARN_API quarn_status quarn_generate_points(quarn_design* design, const int32_t* xy,
                                             const size_t* loop_sizes, size_t loop_count,
                                             const quarn_settings* settings);

QUARN_API quarn_status quarn_building_count(const quarn_design* design, size_t* count);
QUARN_API quarn_status quarn_storey_count(const quarn_design* design, size_t building, size_t* count);
QUARN_API quarn_status quarn_room_count(const quarn_design* design, size_t building, size_t storey,
                                        size_t* count);
QUARN_API quarn_status quarn_get_room(const quarn_design* design, size_t building, size_t storey,
                                      size_t room, quarn_room* out);
/* Copies the room's outline (x then y for each point, clockwise) into xy,
 * which holds capacity points. *count is set to the number of points even
 * when capacity is too small (QUARN_ERROR_BUFFER_SIZE). */
QUARN_API quarn_status quarn_get_room_outline(const quarn_design* design, size_t building,
                                              size_t storey, size_t room, int32_t* xy,
                                              size_t capacity, size_t* count);
/* Copies the storey's walls into walls (capacity of them); *count as above.
 * A null walls with capacity 0 only sets *count. */
QUARN_API quarn_status quarn_get_walls(const quarn_design* design, size_t building, size_t storey,
                                       quarn_wall* walls, size_t capacity, size_t* count);
/* Copies the storey's slab boxes, room by room, into slabs; as above. */
QUARN_API quarn_status quarn_get_slabs(const quarn_design* design, size_t building, size_t storey,
                                       quarn_slab* slabs, size_t capacity, size_t* count);

/* Writes every building in format (a quarn_format; others are
 * QUARN_ERROR_RANGE) to path, whole or not at all (the files of GLTF and OBJ
 * land together beside it). */
QUARN_API quarn_status quarn_write_file(quarn_design* design, int format, const char* path);
/* Writes every building in format (JSON, SVG, PDF, PNG, GLB) into buffer of
 * capacity bytes. *size is set to the bytes needed even when capacity is too
 * small (QUARN_ERROR_BUFFER_SIZE); a null buffer with capacity 0 only
 * measures. */
QUARN_API quarn_status quarn_write_buffer(quarn_design* design, int format, void* buffer,
                                          size_t capacity, size_t* size);

#ifdef __cplusplus
}
#endif

#endif /* QUARN_QUARN_H */
