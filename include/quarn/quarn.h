/* QUARN: building interiors from outlines, as a C library.
 *
 * One handle (quarn_design) holds the buildings of one generation and the
 * message of its last call. Handles share nothing: any number of them may
 * be used at once from any threads; calls on one handle are serialised, so
 * quarn_last_error belongs to the thread's own last call only when each
 * thread keeps a handle of its own. Every function
 * returns a quarn_status; QUARN_OK is 0. On failure nothing an output
 * pointer names is changed (sizes excepted, where stated), and
 * quarn_last_error(handle) says why.
 *
 * The library never prints, never exits or aborts, and lets no exception
 * out. A fault inside it (a broken internal check, an exception, memory
 * running out) ends that call with QUARN_ERROR_INTERNAL or
 * QUARN_ERROR_MEMORY and a message saying what failed; the handle stays
 * usable (a failed generation leaves it with no buildings).
 *
 * Units are grid units of the outline, x right, y up, z up; outlines are
 * closed rectilinear loops with coordinates within +-QUARN_COORDINATE_LIMIT
 * and at most QUARN_CELL_LIMIT design cells together. Indices count from 0:
 * buildings in outline order, storeys lowest first, rooms in the order they
 * were designed, walls in the order first met.
 *
 * Structs the library fills (quarn_room, quarn_wall, ...) never change once
 * released: new data comes in new structs and functions. quarn_settings,
 * which the caller fills, grows at its end (see there).
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

/* The version of this header; quarn_version() gives the library's. */
#define QUARN_VERSION_MAJOR 0
#define QUARN_VERSION_MINOR 1
#define QUARN_VERSION_PATCH 0
#define QUARN_VERSION_STRING "0.1.0"

/* Largest coordinate magnitude of an outline point. */
#define QUARN_COORDINATE_LIMIT 20000
/* Most design cells the loops of one generation may hold together (a
 * square of about 1730 x 1730 grid units, about a minute of design). */
#define QUARN_CELL_LIMIT 120000

typedef enum quarn_status {
  QUARN_OK = 0,
  QUARN_ERROR_NULL = 1,         /* a required pointer was null */
  QUARN_ERROR_OUTLINE = 2,      /* the outline text or points are not usable */
  QUARN_ERROR_RANGE = 3,        /* an index or a setting is out of range */
  QUARN_ERROR_BUFFER_SIZE = 4,  /* the caller's array or buffer is too small */
  QUARN_ERROR_IO = 5,           /* a file could not be written */
  QUARN_ERROR_FORMAT = 6,       /* the format cannot be written that way */
  QUARN_ERROR_MEMORY = 7,       /* out of memory */
  QUARN_ERROR_INTERNAL = 8,     /* a fault inside the library; the message says what */
  QUARN_ERROR_CANCELLED = 9,    /* the progress callback asked to stop */
  QUARN_ERROR_UNAVAILABLE = 10, /* the generation has no such data (for example the
                                   entrance of buildings not finished) */
  QUARN_ERROR_PROGRAMME = 11    /* the programme is no built-in name and no usable
                                   programme text; the message says why */
} quarn_status;

/* The library's version, "MAJOR.MINOR.PATCH". */
QUARN_API const char* quarn_version(void);
/* The name of a status, for example "QUARN_ERROR_RANGE"; "unknown status"
 * for numbers that are none. */
QUARN_API const char* quarn_status_string(int status);

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

/* The four sides of a building, as plan directions. */
typedef enum quarn_side {
  QUARN_SIDE_WEST = 0,  /* toward -x */
  QUARN_SIDE_EAST = 1,  /* toward +x */
  QUARN_SIDE_SOUTH = 2, /* toward -y */
  QUARN_SIDE_NORTH = 3  /* toward +y */
} quarn_side;

/* A step budget that designs every building to its end. */
#define QUARN_STEPS_ALL 0xFFFFFFFFu

/* Called during generation with the design steps done so far (all buildings
 * together), at least every 50 ms until the buildings are designed and
 * finished, and once at the end; steps_total is the most the generation can
 * take (each building's design cells times its storeys, at most its step
 * budget), which a complete design reaches, so a bar can be drawn. Return 0
 * to go on; anything else ends the generation with QUARN_ERROR_CANCELLED and
 * no buildings. It is called on the calling thread (the design runs on a
 * thread of its own meanwhile) and must not call the library with the same
 * handle. */
typedef int (*quarn_progress_fn)(void* user, uint64_t steps_done, uint64_t steps_total);

/* How every building of one generation is designed. Fill it with
 * quarn_init_settings(&s, sizeof s) (or quarn_default_settings()), then
 * change what you need.
 *
 * Growth: size comes first and is the caller's sizeof(quarn_settings).
 * Newer versions only append fields; the library reads the first size
 * bytes and takes the defaults for fields beyond them, so a program built
 * against an older header keeps working. A size the struct never had (0,
 * or one that is neither QUARN_SETTINGS_SIZE_V1 nor a later sizeof, such as
 * a newer header's with an older library) is refused with
 * QUARN_ERROR_RANGE. */
typedef struct quarn_settings {
  uint32_t size;               /* sizeof(quarn_settings) as the caller knows it */
  uint32_t room_size;          /* target room area in grid cells: 45 */
  uint32_t room_size_variance; /* how far a room may deviate from it: 0 */
  uint32_t storeys;            /* storeys per building, 1 to 1000: 1 */
  uint32_t steps;              /* design decisions per building: QUARN_STEPS_ALL */
  int32_t seed;                /* added to every storey's seed: 0 */
  int32_t finished;            /* 1: every output gets the entrance, the stairs and
                                  3 m storeys, as quarn-gen writes by default; 0: the
                                  design alone (plan dump version 1): 1 */
  /* End of the first version. */
  int32_t entrance_side;       /* a quarn_side: the façade the entrance is looked for
                                  on first: QUARN_SIDE_SOUTH */
  float storey_height;         /* metres per storey in 3D outputs and navigation,
                                  0.000001 to 1000000; 0: 3 m when finished, else the
                                  walls' 1.5 grid units times unit: 0 */
  float unit;                  /* metres per grid unit in 3D outputs, room sizes of the
                                  programme and navigation, 0.000001 to 1000000: 1 */
  const char* programme;       /* null: rooms untyped; else the room programme that
                                  types every room of a complete storey and closes
                                  doors by use: a built-in name ("house", "office") or
                                  its JSON text. Needs finished: null */
  int32_t furniture;           /* 1: furnish the typed rooms (needs a programme): 0 */
  int32_t navigation;          /* 1: build each finished building's navigation mesh,
                                  for the reach of its rooms and paths (needs
                                  finished): 0 */
  quarn_progress_fn progress;  /* null: no progress reports: null */
  void* progress_user;         /* passed to progress: null */
} quarn_settings;

/* The size of the first version of quarn_settings (up to finished). */
#define QUARN_SETTINGS_SIZE_V1 (7 * sizeof(uint32_t))

/* Fills the first size bytes of *settings with the defaults and sets
 * settings->size to size. size as for quarn_settings.size; null is
 * QUARN_ERROR_NULL. */
QUARN_API quarn_status quarn_init_settings(quarn_settings* settings, size_t size);
/* The defaults of this header's quarn_settings, size set. */
QUARN_API quarn_settings quarn_default_settings(void);

/* One room: its designed outline has outline_points points; area in grid
 * cells; complete is 0 only for a room the step budget stopped. */
typedef struct quarn_room {
  size_t outline_points;
  int64_t area;
  int complete;
} quarn_room;

/* How a wall is opened. */
typedef enum quarn_opening {
  QUARN_OPENING_NONE = 0,    /* solid, also a door the programme closed */
  QUARN_OPENING_DOOR = 1,
  QUARN_OPENING_WINDOW = 2,
  QUARN_OPENING_ENTRANCE = 3 /* the doorway into a finished building */
} quarn_opening;

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

/* An axis-aligned box, grid units. */
typedef struct quarn_box {
  float min[3];
  float max[3];
} quarn_box;

/* Why a finished building lacks an entrance or a stair. */
typedef enum quarn_missing {
  QUARN_PRESENT = 0,            /* not missing */
  QUARN_MISSING_INCOMPLETE = 1, /* a storey it needs is not complete (step budget) */
  QUARN_MISSING_NO_PLACE = 2    /* no outer wall is long enough (entrance), or no
                                   room has space for one (stair) */
} quarn_missing;

/* The way into a finished building: a doorway in outer wall `wall` of the
 * ground storey, into room `room`, centred at centre (plan), opening to
 * side facing. When missing is not QUARN_PRESENT the other fields are 0. */
typedef struct quarn_entrance {
  quarn_missing missing;
  int32_t wall;
  int32_t room;
  float centre[2];
  quarn_side facing;
} quarn_entrance;

/* A straight stair of a finished building from storey lower to lower + 1:
 * footprint (x0, y0, x1, y1) is its plan rectangle, which the upper floor
 * leaves open; it rises toward climb; room_below and room_above hold it;
 * step_count steps (quarn_get_stair_steps). When missing is not
 * QUARN_PRESENT only lower is set. */
typedef struct quarn_stair {
  quarn_missing missing;
  int32_t lower;
  int32_t footprint[4];
  quarn_side climb;
  int32_t room_below;
  int32_t room_above;
  size_t step_count;
} quarn_stair;

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
/* The same from points: loop i has loop_sizes[i] points (at least 4), taken
 * in turn from xy (x then y for each point); building i is loop i. */
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
/* Copies the storey's slab boxes, room by room, into slabs; as above. The
 * slabs of a finished building leave the stair openings out. */
QUARN_API quarn_status quarn_get_slabs(const quarn_design* design, size_t building, size_t storey,
                                       quarn_slab* slabs, size_t capacity, size_t* count);

/* Copies the boxes wall `wall` of the storey is built of (its openings cut
 * out; z from the storey's floor, grid units, a storey is 1.5 high) into
 * boxes; *count as for quarn_get_walls. */
QUARN_API quarn_status quarn_get_wall_pieces(const quarn_design* design, size_t building,
                                             size_t storey, size_t wall, quarn_box* boxes,
                                             size_t capacity, size_t* count);

/* The finished building's parts. Each is QUARN_ERROR_UNAVAILABLE when the
 * generation was not finished (settings.finished 0). */
QUARN_API quarn_status quarn_get_entrance(const quarn_design* design, size_t building,
                                          quarn_entrance* out);
/* Stair k climbs from storey k to k + 1: *count is storeys - 1. */
QUARN_API quarn_status quarn_stair_count(const quarn_design* design, size_t building, size_t* count);
QUARN_API quarn_status quarn_get_stair(const quarn_design* design, size_t building, size_t stair,
                                       quarn_stair* out);
/* Copies the stair's steps, lowest first, as solid boxes standing on the
 * lower storey's floor (z from 0, grid units; a storey is 1.5 high), into
 * steps; *count as for quarn_get_walls (0 for a missing stair). */
QUARN_API quarn_status quarn_get_stair_steps(const quarn_design* design, size_t building,
                                             size_t stair, quarn_box* steps, size_t capacity,
                                             size_t* count);
/* *doors is the number of doors and stairs to pass from outside into the
 * room, or -1 when it cannot be reached from the entrance. */
QUARN_API quarn_status quarn_get_room_from_entrance(const quarn_design* design, size_t building,
                                                    size_t storey, size_t room, int32_t* doors);
/* Copies the doors of the room (wall indices in wall order, the entrance
 * included) into walls; *count as for quarn_get_walls. */
QUARN_API quarn_status quarn_get_room_doors(const quarn_design* design, size_t building,
                                            size_t storey, size_t room, int32_t* walls,
                                            size_t capacity, size_t* count);
/* The notes the layers of a generation leave on each building, one phrase
 * each. */
typedef enum quarn_notes {
  QUARN_NOTES_MISSING = 0,     /* entrance or stair missing and why, for example "no
                                  stair from storey 0 to 1: no room has space for one" */
  QUARN_NOTES_UNMET = 1,       /* goals of the programme the building does not meet */
  QUARN_NOTES_UNFURNISHED = 2, /* pieces a room needed but could not get */
  QUARN_NOTES_UNREACHABLE = 3  /* rooms the walker cannot reach, and why */
} quarn_notes;

/* *count notes of kind on the building (0 when the layer was not asked
 * for), and note `note` as text valid until the handle's next generation.
 * A kind not in quarn_notes is QUARN_ERROR_RANGE. */
QUARN_API quarn_status quarn_note_count(const quarn_design* design, size_t building, int kind,
                                        size_t* count);
QUARN_API quarn_status quarn_get_note(const quarn_design* design, size_t building, int kind,
                                      size_t note, const char** text);

/* What a room of a typed building is for. */
typedef enum quarn_room_type {
  QUARN_ROOM_UNTYPED = -1, /* on a storey that is not complete */
  QUARN_ROOM_HALL = 0,
  QUARN_ROOM_LIVING = 1,
  QUARN_ROOM_DINING = 2,
  QUARN_ROOM_KITCHEN = 3,
  QUARN_ROOM_BEDROOM = 4,
  QUARN_ROOM_BATHROOM = 5,
  QUARN_ROOM_WC = 6,
  QUARN_ROOM_STUDY = 7,
  QUARN_ROOM_STORAGE = 8,
  QUARN_ROOM_UTILITY = 9,
  QUARN_ROOM_OFFICE = 10,
  QUARN_ROOM_MEETING = 11,
  QUARN_ROOM_RECEPTION = 12,
  QUARN_ROOM_KITCHENETTE = 13
} quarn_room_type;

/* The room's type and its name ("Bedroom 2"; "" when untyped), the name
 * valid until the handle's next generation. QUARN_ERROR_UNAVAILABLE without
 * a programme. */
QUARN_API quarn_status quarn_get_room_type(const quarn_design* design, size_t building,
                                           size_t storey, size_t room, quarn_room_type* type,
                                           const char** name);
/* The type's key in programme texts ("hall", ..., "kitchenette"); null for
 * others. */
QUARN_API const char* quarn_room_type_key(int type);

/* One piece of furniture in room `room` of storey `storey`: kind names it
 * ("bed", "wardrobe", ...; valid until the handle's next generation),
 * footprint (x0, y0, x1, y1) is its plan rectangle in grid units, facing
 * the side it is used from; box_count boxes (quarn_get_furniture_boxes). */
typedef struct quarn_furniture {
  const char* kind;
  int32_t storey;
  int32_t room;
  float footprint[4];
  quarn_side facing;
  size_t box_count;
} quarn_furniture;

/* The building's pieces of furniture, room by room; QUARN_ERROR_UNAVAILABLE
 * without furniture. */
QUARN_API quarn_status quarn_furniture_count(const quarn_design* design, size_t building,
                                             size_t* count);
QUARN_API quarn_status quarn_get_furniture(const quarn_design* design, size_t building,
                                           size_t piece, quarn_furniture* out);
/* Copies the piece's boxes (its storey's frame: z from its floor, grid
 * units) into boxes; *count as for quarn_get_walls. */
QUARN_API quarn_status quarn_get_furniture_boxes(const quarn_design* design, size_t building,
                                                 size_t piece, quarn_box* boxes, size_t capacity,
                                                 size_t* count);

/* How the walker reaches a room from outside the entrance, in metres (x and
 * y as the plan times the unit, z up, storey k's floor at k storey heights).
 * reachable is 1 when a path on the navigation mesh (closed doors solid,
 * furniture in the way) leads there; path_length is then its length, else -1
 * and reason says why (valid until the handle's next generation).
 * free_point is the middle of the largest disc of free floor in the room,
 * free_radius its radius. */
typedef struct quarn_reach {
  int32_t reachable;
  float path_length;
  float free_point[3];
  float free_radius;
  const char* reason;
} quarn_reach;

/* QUARN_ERROR_UNAVAILABLE without navigation. */
QUARN_API quarn_status quarn_get_room_reach(const quarn_design* design, size_t building,
                                            size_t storey, size_t room, quarn_reach* out);
/* The corners of the straight walking path from `from` to `to` (metres, as
 * quarn_reach), both ends included, into corners (x, y, z each; capacity
 * corners); *count as for quarn_get_walls, 0 when either end is off the
 * navigation mesh or nothing connects them. QUARN_ERROR_UNAVAILABLE without
 * navigation or when the building's mesh could not be built. */
QUARN_API quarn_status quarn_find_path(const quarn_design* design, size_t building,
                                       const float from[3], const float to[3], float* corners,
                                       size_t capacity, size_t* count);

/* Writes every building in format (a quarn_format; others are
 * QUARN_ERROR_RANGE) to path, whole or not at all (the files of GLTF and OBJ
 * land together beside it). */
QUARN_API quarn_status quarn_write_file(const quarn_design* design, int format, const char* path);
/* Writes every building in format (JSON, SVG, PDF, PNG, GLB) into buffer of
 * capacity bytes. *size is set to the bytes needed even when capacity is too
 * small (QUARN_ERROR_BUFFER_SIZE); a null buffer with capacity 0 only
 * measures. */
QUARN_API quarn_status quarn_write_buffer(const quarn_design* design, int format, void* buffer,
                                          size_t capacity, size_t* size);

#ifdef __cplusplus
}
#endif

#endif /* QUARN_QUARN_H */
