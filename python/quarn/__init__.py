"""QUARN from Python: building interiors generated from outlines.

A thin binding of the C library (libquarn) through ctypes; nothing to
compile. ::

    import quarn
    square = [[(0, 0), (0, 15), (15, 15), (15, 0)]]
    for building in quarn.generate(square, room_size=45, storeys=2):
        print(building.entrance, len(building.stairs), "stairs")
        for storey in building.storeys:
            print([room.from_entrance for room in storey.rooms])
    buildings = quarn.generate("(0,0)(0,15)(15,15)(15,0)*")
    buildings.export("house.glb")
    svg = buildings.plan_svg()

Outlines are the text form "(x,y)(x,y)...*" (one loop a line) or a list of
loops, each a list of (x, y) integer points. Every read-back is a named
tuple (lists of them); point arrays are NumPy arrays when NumPy is
installed, lists of tuples otherwise. A failure of the library raises the
QuarnError subclass of its status (Status), with the library's message;
arguments of the wrong type raise TypeError, out of range ValueError (the
library's RangeError and OutlineError are ValueErrors too).

libquarn is found through the QUARN_LIBRARY environment variable, then the
build tree this package lies in (build/*/src/capi), then the system's
library search (ldconfig, LD_LIBRARY_PATH), then pkg-config's quarn.pc.
"""

import collections
import ctypes
import ctypes.util
import enum
import glob
import operator
import os
import subprocess

try:
    import numpy
except ImportError:  # lists instead
    numpy = None

__version__ = "0.1.0"

__all__ = [
    "Status", "QuarnError", "NullError", "OutlineError", "RangeError", "BufferSizeError",
    "WriteError", "FormatError", "OutOfMemoryError", "InternalError", "CancelledError",
    "UnavailableError", "ProgrammeError", "generate", "library_version", "Buildings", "Building", "Storey", "Room",
    "Wall", "Slab", "Entrance", "Stair", "Box", "Furniture", "Reach", "STEPS_ALL",
]

STEPS_ALL = 0xFFFFFFFF
_FORMATS = {"json": 0, "svg": 1, "pdf": 2, "png": 3, "glb": 4, "gltf": 5, "obj": 6, "fbx": 7}
_OPENINGS = {0: "none", 1: "door", 2: "window", 3: "entrance"}
_SIDES = {"west": 0, "east": 1, "south": 2, "north": 3}
_SIDE_NAMES = {number: name for name, number in _SIDES.items()}
_MISSING = {0: None, 1: "incomplete", 2: "no place"}


class Status(enum.IntEnum):
    """The library's statuses (quarn_status)."""

    OK = 0
    NULL = 1
    OUTLINE = 2
    RANGE = 3
    BUFFER_SIZE = 4
    IO = 5
    FORMAT = 6
    MEMORY = 7
    INTERNAL = 8
    CANCELLED = 9
    UNAVAILABLE = 10
    PROGRAMME = 11


class QuarnError(Exception):
    """A failure of the library; status says which, the message is the
    library's."""

    status = None

    def __init__(self, message, status=None):
        super().__init__(message)
        if status is not None:
            self.status = Status(status)


class NullError(QuarnError):
    status = Status.NULL


class OutlineError(QuarnError, ValueError):
    status = Status.OUTLINE


class RangeError(QuarnError, ValueError):
    status = Status.RANGE


class BufferSizeError(QuarnError):
    status = Status.BUFFER_SIZE


class WriteError(QuarnError, OSError):
    status = Status.IO


class FormatError(QuarnError, ValueError):
    status = Status.FORMAT


class OutOfMemoryError(QuarnError, MemoryError):
    status = Status.MEMORY


class InternalError(QuarnError):
    status = Status.INTERNAL


class CancelledError(QuarnError):
    status = Status.CANCELLED


class UnavailableError(QuarnError):
    status = Status.UNAVAILABLE


class ProgrammeError(QuarnError, ValueError):
    status = Status.PROGRAMME


_ERRORS = {cls.status: cls for cls in QuarnError.__subclasses__()}


def _error(status, message):
    known = status in Status._value2member_map_
    cls = _ERRORS.get(Status(status), QuarnError) if known else QuarnError
    return cls(message, status if known else None)


# The read-back, as plain data. Coordinates are grid units.
Room = collections.namedtuple("Room", "outline area complete from_entrance doors type name reach")
Room.__doc__ = ("One room: outline (points, clockwise), area in grid cells, complete (False "
                "only where the step budget stopped it); of finished buildings from_entrance "
                "(doors and stairs to pass from outside, None when unreachable) and doors "
                "(wall indices, the entrance included), else None and []; with a programme "
                "type (its key, \"bedroom\"; None when untyped) and name (\"Bedroom 2\"), "
                "else None; with navigation reach (a Reach), else None.")
Reach = collections.namedtuple("Reach", "reachable path_length free_point free_radius reason")
Reach.__doc__ = ("How the walker reaches a room from outside the entrance, in metres: "
                 "reachable, path_length (None when not), free_point (x, y, z: the middle of "
                 "the largest free disc of floor) and free_radius, reason (why not, or \"\").")
Furniture = collections.namedtuple("Furniture", "kind storey room footprint facing boxes")
Furniture.__doc__ = ("One piece of furniture: kind (\"bed\", ...), storey and room, footprint "
                     "(x0, y0, x1, y1), facing (the side it is used from), boxes (Box list in "
                     "its storey's frame, z from the floor).")
Wall = collections.namedtuple("Wall", "edge rooms opening pieces")
Wall.__doc__ = ("One wall: edge ((x1, y1), (x2, y2)), rooms (one or two indices), opening "
                "(\"door\", \"window\", \"entrance\" or \"none\"), pieces (the Boxes it is "
                "built of, openings cut out, z from the storey's floor).")
Slab = collections.namedtuple("Slab", "room min max")
Slab.__doc__ = "One box of a room's floor slab: room index, box min and max (x, y, z)."
Box = collections.namedtuple("Box", "min max")
Box.__doc__ = "An axis-aligned box: min and max (x, y, z)."
Storey = collections.namedtuple("Storey", "rooms walls slabs")
Storey.__doc__ = "One storey: its rooms, walls and slabs."
Entrance = collections.namedtuple("Entrance", "wall room centre facing")
Entrance.__doc__ = ("The way into a finished building: outer wall and room of the ground "
                    "storey, centre (x, y) of the doorway, facing (\"south\", ...).")
Stair = collections.namedtuple("Stair", "lower footprint climb rooms steps missing")
Stair.__doc__ = ("A stair from storey lower to lower + 1: footprint (x0, y0, x1, y1), climb "
                 "(side it rises toward), rooms (below, above), steps (Box list, z from the "
                 "lower floor, a storey is 1.5 high); missing is None, or why there is none "
                 "(\"incomplete\": a storey is not complete; \"no place\": no room has space), "
                 "and the other fields are then None or empty.")
Building = collections.namedtuple(
    "Building", "storeys entrance entrance_missing stairs missing furniture unmet unfurnished "
    "unreachable")
Building.__doc__ = ("One building: storeys (lowest first); for finished buildings the entrance "
                    "(Entrance or None, entrance_missing then says why), stairs (one per pair "
                    "of consecutive storeys) and missing (notes on what it lacks), else None, "
                    "None, [], []; furniture (Furniture list; [] without it) and the notes of "
                    "the programme (unmet goals), the furniture (unfurnished) and the "
                    "navigation (unreachable rooms).")


# int progress(void* user, uint64_t done, uint64_t total)
_Progress = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_uint64, ctypes.c_uint64)


class _Settings(ctypes.Structure):
    _fields_ = [("size", ctypes.c_uint32), ("room_size", ctypes.c_uint32),
                ("room_size_variance", ctypes.c_uint32), ("storeys", ctypes.c_uint32),
                ("steps", ctypes.c_uint32), ("seed", ctypes.c_int32), ("finished", ctypes.c_int32),
                ("entrance_side", ctypes.c_int32), ("storey_height", ctypes.c_float),
                ("unit", ctypes.c_float), ("programme", ctypes.c_char_p),
                ("furniture", ctypes.c_int32), ("navigation", ctypes.c_int32),
                ("progress", _Progress), ("progress_user", ctypes.c_void_p)]


class _Room(ctypes.Structure):
    _fields_ = [("outline_points", ctypes.c_size_t), ("area", ctypes.c_int64),
                ("complete", ctypes.c_int)]


class _Wall(ctypes.Structure):
    _fields_ = [("x1", ctypes.c_int32), ("y1", ctypes.c_int32), ("x2", ctypes.c_int32),
                ("y2", ctypes.c_int32), ("room_a", ctypes.c_int32), ("room_b", ctypes.c_int32),
                ("opening", ctypes.c_int)]


class _Slab(ctypes.Structure):
    _fields_ = [("room", ctypes.c_int32), ("min", ctypes.c_float * 3), ("max", ctypes.c_float * 3)]


class _Box(ctypes.Structure):
    _fields_ = [("min", ctypes.c_float * 3), ("max", ctypes.c_float * 3)]


class _Furniture(ctypes.Structure):
    _fields_ = [("kind", ctypes.c_char_p), ("storey", ctypes.c_int32), ("room", ctypes.c_int32),
                ("footprint", ctypes.c_float * 4), ("facing", ctypes.c_int),
                ("box_count", ctypes.c_size_t)]


class _Reach(ctypes.Structure):
    _fields_ = [("reachable", ctypes.c_int32), ("path_length", ctypes.c_float),
                ("free_point", ctypes.c_float * 3), ("free_radius", ctypes.c_float),
                ("reason", ctypes.c_char_p)]


class _Entrance(ctypes.Structure):
    _fields_ = [("missing", ctypes.c_int), ("wall", ctypes.c_int32), ("room", ctypes.c_int32),
                ("centre", ctypes.c_float * 2), ("facing", ctypes.c_int)]


class _Stair(ctypes.Structure):
    _fields_ = [("missing", ctypes.c_int), ("lower", ctypes.c_int32),
                ("footprint", ctypes.c_int32 * 4), ("climb", ctypes.c_int),
                ("room_below", ctypes.c_int32), ("room_above", ctypes.c_int32),
                ("step_count", ctypes.c_size_t)]


def _candidates():
    given = os.environ.get("QUARN_LIBRARY")
    if given:
        yield given
        return
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    yield from sorted(glob.glob(os.path.join(root, "build", "*", "src", "capi", "libquarn.so.0")))
    yield ctypes.util.find_library("quarn") or "libquarn.so.0"
    try:
        libdir = subprocess.run(["pkg-config", "--variable=libdir", "quarn"], capture_output=True,
                                text=True, check=True).stdout.strip()
        yield os.path.join(libdir, "libquarn.so.0")
    except (OSError, subprocess.CalledProcessError):
        pass


def _open_library():
    tried = []
    for path in _candidates():
        try:
            return ctypes.CDLL(path)
        except OSError as error:
            tried.append(str(error))
    raise ImportError("libquarn not found (set QUARN_LIBRARY to its path): " + "; ".join(tried))


def _load():
    lib = _open_library()
    size_p = ctypes.POINTER(ctypes.c_size_t)
    handle = ctypes.c_void_p
    index = ctypes.c_size_t
    signatures = {
        "quarn_version": ([], ctypes.c_char_p),
        "quarn_status_string": ([ctypes.c_int], ctypes.c_char_p),
        "quarn_init_settings": ([ctypes.POINTER(_Settings), ctypes.c_size_t], ctypes.c_int),
        "quarn_create": ([ctypes.POINTER(handle)], ctypes.c_int),
        "quarn_destroy": ([handle], None),
        "quarn_last_error": ([handle], ctypes.c_char_p),
        "quarn_generate_text": ([handle, ctypes.c_char_p, ctypes.c_size_t,
                                 ctypes.POINTER(_Settings)], ctypes.c_int),
        "quarn_generate_points": ([handle, ctypes.POINTER(ctypes.c_int32), size_p, ctypes.c_size_t,
                                   ctypes.POINTER(_Settings)], ctypes.c_int),
        "quarn_building_count": ([handle, size_p], ctypes.c_int),
        "quarn_storey_count": ([handle, index, size_p], ctypes.c_int),
        "quarn_room_count": ([handle, index, index, size_p], ctypes.c_int),
        "quarn_get_room": ([handle, index, index, index, ctypes.POINTER(_Room)], ctypes.c_int),
        "quarn_get_room_outline": ([handle, index, index, index, ctypes.POINTER(ctypes.c_int32),
                                    ctypes.c_size_t, size_p], ctypes.c_int),
        "quarn_get_walls": ([handle, index, index, ctypes.POINTER(_Wall), ctypes.c_size_t, size_p],
                            ctypes.c_int),
        "quarn_get_slabs": ([handle, index, index, ctypes.POINTER(_Slab), ctypes.c_size_t, size_p],
                            ctypes.c_int),
        "quarn_get_wall_pieces": ([handle, index, index, index, ctypes.POINTER(_Box),
                                   ctypes.c_size_t, size_p], ctypes.c_int),
        "quarn_get_room_doors": ([handle, index, index, index, ctypes.POINTER(ctypes.c_int32),
                                  ctypes.c_size_t, size_p], ctypes.c_int),
        "quarn_get_entrance": ([handle, index, ctypes.POINTER(_Entrance)], ctypes.c_int),
        "quarn_stair_count": ([handle, index, size_p], ctypes.c_int),
        "quarn_get_stair": ([handle, index, index, ctypes.POINTER(_Stair)], ctypes.c_int),
        "quarn_get_stair_steps": ([handle, index, index, ctypes.POINTER(_Box), ctypes.c_size_t,
                                   size_p], ctypes.c_int),
        "quarn_get_room_from_entrance": ([handle, index, index, index,
                                          ctypes.POINTER(ctypes.c_int32)], ctypes.c_int),
        "quarn_note_count": ([handle, index, ctypes.c_int, size_p], ctypes.c_int),
        "quarn_get_note": ([handle, index, ctypes.c_int, index, ctypes.POINTER(ctypes.c_char_p)],
                           ctypes.c_int),
        "quarn_room_type_key": ([ctypes.c_int], ctypes.c_char_p),
        "quarn_get_room_type": ([handle, index, index, index, ctypes.POINTER(ctypes.c_int),
                                 ctypes.POINTER(ctypes.c_char_p)], ctypes.c_int),
        "quarn_furniture_count": ([handle, index, size_p], ctypes.c_int),
        "quarn_get_furniture": ([handle, index, index, ctypes.POINTER(_Furniture)], ctypes.c_int),
        "quarn_get_furniture_boxes": ([handle, index, index, ctypes.POINTER(_Box),
                                       ctypes.c_size_t, size_p], ctypes.c_int),
        "quarn_get_room_reach": ([handle, index, index, index, ctypes.POINTER(_Reach)],
                                 ctypes.c_int),
        "quarn_find_path": ([handle, index, ctypes.POINTER(ctypes.c_float),
                             ctypes.POINTER(ctypes.c_float), ctypes.POINTER(ctypes.c_float),
                             ctypes.c_size_t, size_p], ctypes.c_int),
        "quarn_write_file": ([handle, ctypes.c_int, ctypes.c_char_p], ctypes.c_int),
        "quarn_write_buffer": ([handle, ctypes.c_int, ctypes.c_void_p, ctypes.c_size_t, size_p],
                               ctypes.c_int),
    }
    for name, (arguments, result) in signatures.items():
        function = getattr(lib, name)
        function.argtypes = arguments
        function.restype = result
    return lib


_lib = None


def _library():
    global _lib
    if _lib is None:
        _lib = _load()
    return _lib


def library_version():
    """The version of the libquarn in use, "MAJOR.MINOR.PATCH"."""
    return _library().quarn_version().decode("ascii")


def _integer(name, value, low, high):
    """value as an int from low to high; TypeError or ValueError naming it."""
    if isinstance(value, bool) or isinstance(value, float):
        raise TypeError(f"{name} must be an integer, not {type(value).__name__}")
    try:
        number = operator.index(value)
    except TypeError:
        raise TypeError(f"{name} must be an integer, not {type(value).__name__}") from None
    if not low <= number <= high:
        raise ValueError(f"{name} must be from {low} to {high}, not {number}")
    return number


def _metres(name, value, allow_zero=False):
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        raise TypeError(f"{name} must be a number of metres, not {type(value).__name__}")
    if not ((allow_zero and value == 0) or 1e-6 <= value <= 1e6):
        raise ValueError(f"{name} must be metres from 0.000001 to 1000000, not {value}")
    return float(value)


def _real(name, value):
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        raise TypeError(f"{name} must be a number, not {type(value).__name__}")
    return value


def _flag(name, value):
    if not isinstance(value, (bool, int)) or value not in (0, 1):
        raise TypeError(f"{name} must be True or False, not {value!r}")
    return int(value)


def _format_number(format):
    if isinstance(format, str):
        if format.lower() not in _FORMATS:
            raise RangeError(f"no format {format!r}; formats: {', '.join(_FORMATS)}", Status.RANGE)
        return _FORMATS[format.lower()]
    number = _integer("format", format, -2**31, 2**31 - 1)
    if number not in _FORMATS.values():
        raise RangeError(f"no format {number}", Status.RANGE)
    return number


def _points(pairs):
    if numpy is not None:
        return numpy.array(pairs, dtype=numpy.int32).reshape(-1, 2)
    return [tuple(p) for p in pairs]


def _box(item):
    return Box(tuple(item.min), tuple(item.max))


class Buildings(list):
    """The buildings of one generation (a list of Building), which can be
    written in every format of quarn-gen."""

    def __init__(self, design, buildings):
        super().__init__(buildings)
        self._design = design

    def export(self, path, format=None):
        """Writes every building to path; the format (a name: json, svg, pdf,
        png, glb, gltf, obj, fbx, or its number) follows the extension
        unless given."""
        number = _format_number(format if format is not None
                                else os.path.splitext(path)[1].lstrip("."))
        self._design.check(_library().quarn_write_file(self._design.handle, number,
                                                       os.fsencode(path)))

    def to_bytes(self, format):
        """The bytes of every building in format (json, svg, pdf, png, glb)."""
        number = _format_number(format)
        lib = _library()
        size = ctypes.c_size_t(0)
        self._design.check(lib.quarn_write_buffer(self._design.handle, number, None, 0,
                                                  ctypes.byref(size)))
        buffer = ctypes.create_string_buffer(size.value)
        self._design.check(lib.quarn_write_buffer(self._design.handle, number, buffer,
                                                  size.value, ctypes.byref(size)))
        return buffer.raw[:size.value]

    def find_path(self, building, start, end):
        """The corners (x, y, z in metres) of the walking path from start to end
        in building (an index), both ends included; [] when either end is off
        the navigation mesh or nothing connects them. Needs navigation=True."""
        lib = _library()
        ends = [(ctypes.c_float * 3)(*[float(_real(f"{name}[{i}]", v)) for i, v in enumerate(point)])
                for name, point in (("start", start), ("end", end))]
        count = ctypes.c_size_t(0)
        building = _integer("building", building, 0, 2**63 - 1)
        self._design.check(lib.quarn_find_path(self._design.handle, building, ends[0], ends[1],
                                               None, 0, ctypes.byref(count)))
        corners = (ctypes.c_float * (3 * max(count.value, 1)))()
        self._design.check(lib.quarn_find_path(self._design.handle, building, ends[0], ends[1],
                                               corners, count.value, ctypes.byref(count)))
        return [tuple(corners[3 * i:3 * i + 3]) for i in range(count.value)]

    def plan_svg(self):
        """The floor plans of every building as one SVG document (text)."""
        return self.to_bytes("svg").decode("utf-8")


class _Design:
    def __init__(self):
        lib = _library()
        self.handle = ctypes.c_void_p()
        status = lib.quarn_create(ctypes.byref(self.handle))
        if status != 0:
            raise _error(status, "cannot create a design")

    def __del__(self):
        if getattr(self, "handle", None) and _lib is not None:
            _lib.quarn_destroy(self.handle)

    def check(self, status):
        if status != 0:
            raise _error(status, _library().quarn_last_error(self.handle).decode("utf-8"))

    def count(self, function, *indices):
        size = ctypes.c_size_t(0)
        self.check(function(self.handle, *indices, ctypes.byref(size)))
        return size.value

    def array(self, function, item, *indices):
        """Reads one of the library's arrays: measures, then fills."""
        count = ctypes.c_size_t(0)
        self.check(function(self.handle, *indices, None, 0, ctypes.byref(count)))
        items = (item * max(count.value, 1))()
        self.check(function(self.handle, *indices, items, count.value, ctypes.byref(count)))
        return items[:count.value]

    def fill(self, function, item, *indices):
        """Reads one of the library's structs."""
        out = item()
        self.check(function(self.handle, *indices, ctypes.byref(out)))
        return out

    def room(self, b, s, r, layers):
        lib = _library()
        info = self.fill(lib.quarn_get_room, _Room, b, s, r)
        xy = (ctypes.c_int32 * (2 * info.outline_points))()
        count = ctypes.c_size_t(0)
        self.check(lib.quarn_get_room_outline(self.handle, b, s, r, xy, info.outline_points,
                                              ctypes.byref(count)))
        distance, doors, kind, name, reach = None, [], None, None, None
        if "finished" in layers:
            number = ctypes.c_int32(0)
            self.check(lib.quarn_get_room_from_entrance(self.handle, b, s, r,
                                                        ctypes.byref(number)))
            distance = None if number.value < 0 else number.value
            doors = list(self.array(lib.quarn_get_room_doors, ctypes.c_int32, b, s, r))
        if "programme" in layers:
            number, text = ctypes.c_int(0), ctypes.c_char_p()
            self.check(lib.quarn_get_room_type(self.handle, b, s, r, ctypes.byref(number),
                                               ctypes.byref(text)))
            if number.value >= 0:
                kind = lib.quarn_room_type_key(number.value).decode("ascii")
                name = text.value.decode("utf-8")
        if "navigation" in layers:
            found = self.fill(lib.quarn_get_room_reach, _Reach, b, s, r)
            reach = Reach(bool(found.reachable),
                          found.path_length if found.reachable else None,
                          tuple(found.free_point), found.free_radius,
                          found.reason.decode("utf-8"))
        return Room(_points(list(zip(xy[0::2], xy[1::2]))), info.area, bool(info.complete),
                    distance, doors, kind, name, reach)

    def storey(self, b, s, layers):
        lib = _library()
        rooms = [self.room(b, s, r, layers)
                 for r in range(self.count(lib.quarn_room_count, b, s))]
        walls = [Wall(((w.x1, w.y1), (w.x2, w.y2)),
                      (w.room_a,) if w.room_b < 0 else (w.room_a, w.room_b), _OPENINGS[w.opening],
                      [_box(x) for x in self.array(lib.quarn_get_wall_pieces, _Box, b, s, i)])
                 for i, w in enumerate(self.array(lib.quarn_get_walls, _Wall, b, s))]
        slabs = [Slab(x.room, tuple(x.min), tuple(x.max))
                 for x in self.array(lib.quarn_get_slabs, _Slab, b, s)]
        return Storey(rooms, walls, slabs)

    def stair(self, b, k):
        lib = _library()
        found = self.fill(lib.quarn_get_stair, _Stair, b, k)
        if found.missing != 0:
            return Stair(found.lower, None, None, None, [], _MISSING[found.missing])
        steps = [_box(x) for x in self.array(lib.quarn_get_stair_steps, _Box, b, k)]
        return Stair(found.lower, tuple(found.footprint), _SIDE_NAMES[found.climb],
                     (found.room_below, found.room_above), steps, None)

    def notes(self, b, kind):
        lib = _library()
        notes = []
        for n in range(self.count(lib.quarn_note_count, b, kind)):
            text = ctypes.c_char_p()
            self.check(lib.quarn_get_note(self.handle, b, kind, n, ctypes.byref(text)))
            notes.append(text.value.decode("utf-8"))
        return notes

    def piece(self, b, p):
        lib = _library()
        found = self.fill(lib.quarn_get_furniture, _Furniture, b, p)
        boxes = [_box(x) for x in self.array(lib.quarn_get_furniture_boxes, _Box, b, p)]
        return Furniture(found.kind.decode("utf-8"), found.storey, found.room,
                         tuple(found.footprint), _SIDE_NAMES[found.facing], boxes)

    def building(self, b, layers):
        lib = _library()
        storeys = [self.storey(b, s, layers)
                   for s in range(self.count(lib.quarn_storey_count, b))]
        furniture = ([self.piece(b, p) for p in range(self.count(lib.quarn_furniture_count, b))]
                     if "furniture" in layers else [])
        later = (furniture, self.notes(b, 1), self.notes(b, 2), self.notes(b, 3))
        if "finished" not in layers:
            return Building(storeys, None, None, [], [], *later)
        found = self.fill(lib.quarn_get_entrance, _Entrance, b)
        entrance = None if found.missing != 0 else Entrance(
            found.wall, found.room, tuple(found.centre), _SIDE_NAMES[found.facing])
        stairs = [self.stair(b, k) for k in range(self.count(lib.quarn_stair_count, b))]
        return Building(storeys, entrance, _MISSING[found.missing], stairs, self.notes(b, 0),
                        *later)


class _ProgressCall:
    """The C progress callback over a Python callable(done, total): a true
    result cancels, and so does an exception, which generate raises again."""

    def __init__(self, callable_):
        self.callable = callable_
        self.raised = None
        self.function = _Progress(self)

    def __call__(self, _user, done, total):
        try:
            return 1 if self.callable(done, total) else 0
        except BaseException as error:  # raised again once the library returns
            self.raised = error
            return 1


def _loop_points(outline):
    """The flat coordinates and the loop sizes of a list of loops."""
    loops = [list(loop) for loop in outline]
    flat = []
    for i, loop in enumerate(loops):
        for j, point in enumerate(loop):
            if isinstance(point, (str, bytes)) or len(point) != 2:
                raise TypeError(f"outline[{i}][{j}] must be an (x, y) pair, not {point!r}")
            for axis, value in zip("xy", point):
                flat.append(_integer(f"outline[{i}][{j}].{axis}", value, -2**31, 2**31 - 1))
    return flat, [len(loop) for loop in loops]


def generate(outline, room_size=None, room_size_variance=None, storeys=None, steps=None, seed=None,
             finished=True, entrance_side="south", storey_height=None, unit=1.0, programme=None,
             furniture=False, navigation=False, progress=None):
    """Designs one building per outline loop and returns them as Buildings.

    outline is the text form or a list of loops of (x, y) integer points.
    steps limits every building to that many design decisions (None: all of
    them); seed changes the room sizes drawn when room_size_variance is not
    0; a size, storey count or seed left as None is the library's default
    (quarn_init_settings). finished gives the outputs an entrance (looked for on entrance_side
    first: "south", "north", "east" or "west"), stairs and 3 m storeys, as
    quarn-gen does by default; False keeps the design alone. storey_height
    (metres per storey) and unit (metres per grid unit) scale the 3D
    outputs. programme (a built-in name, "house" or "office", or programme
    JSON text) types the rooms and closes doors by use; furniture (needs a
    programme) furnishes the typed rooms; navigation builds each building's
    navigation mesh for the reach of its rooms and find_path. progress, if given, is called as progress(done, total) with the
    design steps done so far and the most there can be, at least every 50
    ms; a true result cancels with CancelledError. For example, with tqdm::

        with tqdm.tqdm() as bar:
            def show(done, total):
                bar.total = total
                bar.update(done - bar.n)
            quarn.generate(outline, progress=show)
    """
    lib = _library()
    settings = _Settings()
    lib.quarn_init_settings(ctypes.byref(settings), ctypes.sizeof(_Settings))
    for name, value, low, high in (("room_size", room_size, 0, 2**32 - 1),
                                   ("room_size_variance", room_size_variance, 0, 2**32 - 1),
                                   ("storeys", storeys, 0, 2**32 - 1),
                                   ("seed", seed, -2**31, 2**31 - 1)):
        if value is not None:
            setattr(settings, name, _integer(name, value, low, high))
    settings.steps = STEPS_ALL if steps is None else _integer("steps", steps, 0, 2**32 - 1)
    settings.finished = _flag("finished", finished)
    if entrance_side not in _SIDES:
        raise ValueError(f"entrance_side must be one of {', '.join(_SIDES)}, not {entrance_side!r}")
    settings.entrance_side = _SIDES[entrance_side]
    settings.storey_height = 0.0 if storey_height is None else _metres("storey_height",
                                                                      storey_height)
    settings.unit = _metres("unit", unit)
    if programme is not None and not isinstance(programme, str):
        raise TypeError(f"programme must be a name or JSON text, not {type(programme).__name__}")
    settings.programme = None if programme is None else programme.encode("utf-8")
    settings.furniture = _flag("furniture", furniture)
    settings.navigation = _flag("navigation", navigation)
    layers = {name for name, on in (("finished", finished), ("programme", programme is not None),
                                    ("furniture", furniture), ("navigation", navigation)) if on}
    call = None
    if progress is not None:
        if not callable(progress):
            raise TypeError(f"progress must be callable, not {type(progress).__name__}")
        call = _ProgressCall(progress)
        settings.progress = call.function
    design = _Design()
    if isinstance(outline, (str, bytes)):
        text = outline.encode("utf-8") if isinstance(outline, str) else outline
        status = lib.quarn_generate_text(design.handle, text, len(text), ctypes.byref(settings))
    else:
        flat, sizes = _loop_points(outline)
        xy = (ctypes.c_int32 * max(len(flat), 1))(*flat)
        loop_sizes = (ctypes.c_size_t * max(len(sizes), 1))(*sizes)
        status = lib.quarn_generate_points(design.handle, xy, loop_sizes, len(sizes),
                                           ctypes.byref(settings))
    if call is not None and call.raised is not None:
        raise call.raised
    design.check(status)
    buildings = [design.building(b, layers)
                 for b in range(design.count(lib.quarn_building_count))]
    return Buildings(design, buildings)
