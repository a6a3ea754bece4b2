"""QUARN from Python: building interiors generated from outlines.

A thin binding of the C library (libquarn) through ctypes; nothing to
compile. ::

    import quarn
    square = [[(0, 0), (0, 15), (15, 15), (15, 0)]]
    for building in quarn.generate(square, room_size=45):
        for storey in building.storeys:
            print(len(storey.rooms), "rooms")
    buildings = quarn.generate("(0,0)(0,15)(15,15)(15,0)*")
    buildings.export("house.glb")
    svg = buildings.plan_svg()

Outlines are the text form "(x,y)(x,y)...*" (one loop a line) or a list of
loops, each a list of (x, y) points. Failures raise QuarnError with the
library's message. Point arrays are NumPy arrays when NumPy is installed,
lists of tuples otherwise.

libquarn is found through the QUARN_LIBRARY environment variable, then the
build tree this package lies in (build/*/src/capi), then the system.
"""

import ctypes
import ctypes.util
import glob
import os

try:
    import numpy
except ImportError:  # lists instead
    numpy = None

__all__ = ["QuarnError", "generate", "Buildings", "Building", "Storey", "Room", "Wall", "Slab"]

_FORMATS = {"json": 0, "svg": 1, "pdf": 2, "png": 3, "glb": 4, "gltf": 5, "obj": 6, "fbx": 7}
_OPENINGS = {0: "none", 1: "door", 2: "window"}
STEPS_ALL = 0xFFFFFFFF


class QuarnError(Exception):
    """A failure of the library; the message is the library's."""

    def __init__(self, status, message):
        super().__init__(message)
        self.status = status


class _Settings(ctypes.Structure):
    _fields_ = [("room_size", ctypes.c_uint32), ("room_size_variance", ctypes.c_uint32),
                ("storeys", ctypes.c_uint32), ("steps", ctypes.c_uint32), ("seed", ctypes.c_int32),
                ("finished", ctypes.c_int32)]


class _Room(ctypes.Structure):
    _fields_ = [("outline_points", ctypes.c_size_t), ("area", ctypes.c_int64),
                ("complete", ctypes.c_int)]


class _Wall(ctypes.Structure):
    _fields_ = [("x1", ctypes.c_int32), ("y1", ctypes.c_int32), ("x2", ctypes.c_int32),
                ("y2", ctypes.c_int32), ("room_a", ctypes.c_int32), ("room_b", ctypes.c_int32),
                ("opening", ctypes.c_int)]


class _Slab(ctypes.Structure):
    _fields_ = [("room", ctypes.c_int32), ("min", ctypes.c_float * 3), ("max", ctypes.c_float * 3)]


def _find_library():
    given = os.environ.get("QUARN_LIBRARY")
    if given:
        return given
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    for found in sorted(glob.glob(os.path.join(root, "build", "*", "src", "capi", "libquarn.so.0"))):
        return found
    return ctypes.util.find_library("quarn") or "libquarn.so.0"


def _load():
    lib = ctypes.CDLL(_find_library())
    size_p = ctypes.POINTER(ctypes.c_size_t)
    handle = ctypes.c_void_p
    signatures = {
        "quarn_default_settings": ([], _Settings),
        "quarn_create": ([ctypes.POINTER(handle)], ctypes.c_int),
        "quarn_destroy": ([handle], None),
        "quarn_last_error": ([handle], ctypes.c_char_p),
        "quarn_generate_text": ([handle, ctypes.c_char_p, ctypes.c_size_t,
                                 ctypes.POINTER(_Settings)], ctypes.c_int),
        "quarn_generate_points": ([handle, ctypes.POINTER(ctypes.c_int32), size_p, ctypes.c_size_t,
                                   ctypes.POINTER(_Settings)], ctypes.c_int),
        "quarn_building_count": ([handle, size_p], ctypes.c_int),
        "quarn_storey_count": ([handle, ctypes.c_size_t, size_p], ctypes.c_int),
        "quarn_room_count": ([handle, ctypes.c_size_t, ctypes.c_size_t, size_p], ctypes.c_int),
        "quarn_get_room": ([handle, ctypes.c_size_t, ctypes.c_size_t, ctypes.c_size_t,
                            ctypes.POINTER(_Room)], ctypes.c_int),
        "quarn_get_room_outline": ([handle, ctypes.c_size_t, ctypes.c_size_t, ctypes.c_size_t,
                                    ctypes.POINTER(ctypes.c_int32), ctypes.c_size_t, size_p],
                                   ctypes.c_int),
        "quarn_get_walls": ([handle, ctypes.c_size_t, ctypes.c_size_t, ctypes.POINTER(_Wall),
                             ctypes.c_size_t, size_p], ctypes.c_int),
        "quarn_get_slabs": ([handle, ctypes.c_size_t, ctypes.c_size_t, ctypes.POINTER(_Slab),
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


def _points(pairs):
    if numpy is not None:
        return numpy.array(pairs, dtype=numpy.int32).reshape(-1, 2)
    return [tuple(p) for p in pairs]


class Room:
    """One room: outline (points, clockwise), area in grid cells, complete."""

    def __init__(self, outline, area, complete):
        self.outline = outline
        self.area = area
        self.complete = complete

    def __repr__(self):
        return f"Room(area={self.area}, complete={self.complete})"


class Wall:
    """One wall: edge ((x1, y1), (x2, y2)), rooms (one or two indices), opening
    ("door", "window" or "none")."""

    def __init__(self, edge, rooms, opening):
        self.edge = edge
        self.rooms = rooms
        self.opening = opening

    def __repr__(self):
        return f"Wall(edge={self.edge}, rooms={self.rooms}, opening={self.opening!r})"


class Slab:
    """One box of a room's floor slab: room index, box min and max (x, y, z)."""

    def __init__(self, room, low, high):
        self.room = room
        self.min = low
        self.max = high


class Storey:
    """One storey: its rooms, walls and slabs."""

    def __init__(self, rooms, walls, slabs):
        self.rooms = rooms
        self.walls = walls
        self.slabs = slabs


class Building:
    """One building: its storeys, lowest first."""

    def __init__(self, storeys):
        self.storeys = storeys


class Buildings(list):
    """The buildings of one generation (a list of Building), which can be
    written in every format of quarn-gen."""

    def __init__(self, design, buildings):
        super().__init__(buildings)
        self._design = design

    def export(self, path, format=None):
        """Writes every building to path; the format follows the extension
        unless given (json, svg, pdf, png, glb, gltf, obj, fbx)."""
        name = format or os.path.splitext(path)[1].lstrip(".").lower()
        if name not in _FORMATS:
            raise QuarnError(6, f"unknown format {name!r}")
        self._design.check(_library().quarn_write_file(self._design.handle, _FORMATS[name],
                                                      os.fsencode(path)))

    def to_bytes(self, format):
        """The bytes of every building in format (json, svg, pdf, png, glb)."""
        if format not in _FORMATS:
            raise QuarnError(6, f"unknown format {format!r}")
        lib = _library()
        size = ctypes.c_size_t(0)
        self._design.check(lib.quarn_write_buffer(self._design.handle, _FORMATS[format], None, 0,
                                                  ctypes.byref(size)))
        buffer = ctypes.create_string_buffer(size.value)
        self._design.check(lib.quarn_write_buffer(self._design.handle, _FORMATS[format], buffer,
                                                  size.value, ctypes.byref(size)))
        return buffer.raw[:size.value]

    def plan_svg(self):
        """The floor plans of every building as one SVG document (text)."""
        return self.to_bytes("svg").decode("utf-8")


class _Design:
    def __init__(self):
        lib = _library()
        self.handle = ctypes.c_void_p()
        status = lib.quarn_create(ctypes.byref(self.handle))
        if status != 0:
            raise QuarnError(status, "cannot create a design")

    def __del__(self):
        if getattr(self, "handle", None) and _lib is not None:
            _lib.quarn_destroy(self.handle)

    def check(self, status):
        if status != 0:
            raise QuarnError(status, _library().quarn_last_error(self.handle).decode("utf-8"))

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

    def storey(self, b, s):
        lib = _library()
        rooms = []
        for r in range(self.count(lib.quarn_room_count, b, s)):
            info = _Room()
            self.check(lib.quarn_get_room(self.handle, b, s, r, ctypes.byref(info)))
            xy = (ctypes.c_int32 * (2 * info.outline_points))()
            count = ctypes.c_size_t(0)
            self.check(lib.quarn_get_room_outline(self.handle, b, s, r, xy, info.outline_points,
                                                  ctypes.byref(count)))
            rooms.append(Room(_points(list(zip(xy[0::2], xy[1::2]))), info.area,
                              bool(info.complete)))
        walls = [Wall(((w.x1, w.y1), (w.x2, w.y2)),
                      (w.room_a,) if w.room_b < 0 else (w.room_a, w.room_b), _OPENINGS[w.opening])
                 for w in self.array(lib.quarn_get_walls, _Wall, b, s)]
        slabs = [Slab(x.room, tuple(x.min), tuple(x.max))
                 for x in self.array(lib.quarn_get_slabs, _Slab, b, s)]
        return Storey(rooms, walls, slabs)


def generate(outline, room_size=None, room_size_variance=None, storeys=None, steps=None,
             seed=None, finished=True):
    """Designs one building per outline loop and returns them as Buildings.

    outline is the text form or a list of loops of (x, y) points. steps
    limits every building to that many design decisions (None: all of
    them); seed changes the room sizes drawn when room_size_variance is
    not 0. finished gives the outputs an entrance, stairs and 3 m storeys,
    as quarn-gen does by default; False keeps the design alone. A size,
    storey count or seed left as None is the library's default
    (quarn_default_settings).
    """
    lib = _library()
    settings = lib.quarn_default_settings()
    for name, value in (("room_size", room_size), ("room_size_variance", room_size_variance),
                        ("storeys", storeys), ("seed", seed)):
        if value is not None:
            setattr(settings, name, value)
    settings.steps = STEPS_ALL if steps is None else steps
    settings.finished = 1 if finished else 0
    design = _Design()
    if isinstance(outline, (str, bytes)):
        text = outline.encode("utf-8") if isinstance(outline, str) else outline
        design.check(lib.quarn_generate_text(design.handle, text, len(text), ctypes.byref(settings)))
    else:
        loops = [list(loop) for loop in outline]
        flat = [int(c) for loop in loops for point in loop for c in point]
        xy = (ctypes.c_int32 * max(len(flat), 1))(*flat)
        sizes = (ctypes.c_size_t * max(len(loops), 1))(*[len(loop) for loop in loops])
        design.check(lib.quarn_generate_points(design.handle, xy, sizes, len(loops),
                                               ctypes.byref(settings)))
    buildings = []
    for b in range(design.count(lib.quarn_building_count)):
        buildings.append(Building([design.storey(b, s)
                                   for s in range(design.count(lib.quarn_storey_count, b))]))
    return Buildings(design, buildings)
