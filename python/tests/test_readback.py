"""The package's read-back against the plan dump of the same generation, and
its argument checks, statuses, progress and cancel."""

import glob
import json
import os
import struct
import unittest

import quarn

EXAMPLES = sorted(glob.glob(os.path.join(os.path.dirname(__file__), "..", "..", "examples",
                                         "*.quarn")))
SQUARE = [[(0, 0), (0, 15), (15, 15), (15, 0)]]
FACING = {"-x": "west", "+x": "east", "-y": "south", "+y": "north"}


def single(value):
    """value as the float the library holds, so both sides compare exactly."""
    return struct.unpack("f", struct.pack("f", value))[0]


def box(values):
    return quarn.Box(tuple(map(single, values[:3])), tuple(map(single, values[3:])))


def points(outline):
    return [tuple(int(c) for c in p) for p in outline]


class ReadBackTest(unittest.TestCase):
    def test_read_back_is_the_plan_dump(self):
        self.assertTrue(EXAMPLES)
        layers = [{"finished": False}, {}, {"programme": "house", "furniture": True}]
        for path, arguments in [(p, a) for p in EXAMPLES for a in layers]:
            with self.subTest(example=os.path.basename(path), **arguments):
                with open(path, encoding="utf-8") as outline:
                    buildings = quarn.generate(outline.read(), storeys=2, **arguments)
                dump = json.loads(buildings.to_bytes("json"))
                self.assertEqual(len(buildings), len(dump["buildings"]))
                for building, expected in zip(buildings, dump["buildings"]):
                    self.check_building(building, expected, arguments.get("finished", True))
                    if "programme" in arguments:
                        self.check_layers(building, expected)

    def check_layers(self, building, expected):
        for storey, floor in zip(building.storeys, expected["floors"]):
            self.assertEqual([(r.type, r.name) for r in storey.rooms],
                             [(r["type"], r["name"]) for r in floor["rooms"]])
            self.assertEqual([w.opening for w in storey.walls],
                             [w["opening"] for w in floor["walls"]])
        self.assertEqual(building.unmet, expected["programme"]["unmet"])
        self.assertEqual(building.unfurnished, expected["unfurnished"])
        self.assertEqual(
            [(p.kind, p.storey, p.room, p.footprint, p.facing, p.boxes)
             for p in building.furniture],
            [(p["kind"], p["storey"], p["room"], tuple(map(single, p["footprint"])),
              FACING[p["facing"]], [box(b) for b in p["boxes"]]) for p in expected["furniture"]])

    def check_building(self, building, expected, finished):
        self.assertEqual(len(building.storeys), len(expected["floors"]))
        for storey, floor in zip(building.storeys, expected["floors"]):
            self.assertEqual([(points(r.outline), r.complete) for r in storey.rooms],
                             [([tuple(p) for p in r["outline"]], r["complete"])
                              for r in floor["rooms"]])
            if finished:
                self.assertEqual([(r.from_entrance, r.doors) for r in storey.rooms],
                                 [(r["fromEntrance"], r["doors"]) for r in floor["rooms"]])
            self.assertEqual([(w.edge, list(w.rooms), w.pieces) for w in storey.walls],
                             [(tuple(map(tuple, w["edge"])), w["rooms"],
                               [box(p) for p in w["pieces"]]) for w in floor["walls"]])
            self.assertEqual([(s.room, s.min, s.max) for s in storey.slabs],
                             [(r, *box(b)) for r, boxes in enumerate(floor["slabs"])
                              for b in boxes])
        if not finished:
            self.assertEqual((building.entrance, building.stairs), (None, []))
            return
        entrance = expected["entrance"]
        self.assertEqual(building.entrance, entrance and quarn.Entrance(
            entrance["wall"], entrance["room"], tuple(map(single, entrance["centre"])),
            FACING[entrance["facing"]]))
        if entrance:
            ground = building.storeys[0]
            self.assertEqual(ground.walls[entrance["wall"]].opening, "entrance")
        self.assertEqual(
            [(s.lower, s.footprint, s.climb, s.rooms, s.steps) for s in building.stairs],
            [(s["storeys"][0], s["footprint"] and tuple(s["footprint"]),
              s["climb"] and FACING[s["climb"]], s["rooms"] and tuple(s["rooms"]),
              [box(b) for b in s["steps"]]) for s in expected["stairs"]])
        self.assertEqual(len(building.missing),
                         sum(s.missing is not None for s in building.stairs) +
                         (building.entrance is None))


class LayerTest(unittest.TestCase):
    def test_typed_furnished_navigated_building(self):
        buildings = quarn.generate(SQUARE, storeys=2, programme="house", furniture=True,
                                   navigation=True)
        building = buildings[0]
        rooms = [room for storey in building.storeys for room in storey.rooms]
        self.assertTrue(all(room.type and room.name for room in rooms))
        self.assertTrue(all(room.reach.reachable and room.reach.path_length > 0 for room in rooms))
        self.assertEqual(building.unreachable, [])
        self.assertTrue(building.furniture)
        for piece in building.furniture:
            room = building.storeys[piece.storey].rooms[piece.room]
            self.assertTrue(piece.kind and piece.boxes and room.type, piece)
        start, end = rooms[0].reach.free_point, rooms[-1].reach.free_point
        path = buildings.find_path(0, start, end)
        self.assertGreaterEqual(len(path), 2)
        self.assertAlmostEqual(path[-1][2], end[2], places=3)
        self.assertEqual(buildings.find_path(0, (1e6, 0, 0), end), [])
        with self.assertRaises(quarn.UnavailableError):
            quarn.generate(SQUARE).find_path(0, start, end)


class ArgumentTest(unittest.TestCase):
    def test_bad_arguments_name_themselves(self):
        cases = [
            ({"room_size": -1}, ValueError, "room_size"),
            ({"room_size": 2**32}, ValueError, "room_size"),
            ({"storeys": 2**32 + 1}, ValueError, "storeys"),
            ({"storeys": 0}, quarn.RangeError, "storeys"),
            ({"steps": -1}, ValueError, "steps"),
            ({"seed": 2**31}, ValueError, "seed"),
            ({"room_size": 4.5}, TypeError, "room_size"),
            ({"finished": "no"}, TypeError, "finished"),
            ({"entrance_side": "up"}, ValueError, "entrance_side"),
            ({"unit": 0}, ValueError, "unit"),
            ({"storey_height": "3"}, TypeError, "storey_height"),
            ({"progress": 3}, TypeError, "progress"),
            ({"outline": [[(0, 0), (0, 2**32 + 10), (5, 5), (5, 0)]]}, ValueError, "outline[0][1].y"),
            ({"outline": [[(0, 0), (0, 15.5), (15, 15), (15, 0)]]}, TypeError, "outline[0][1].y"),
            ({"outline": [[(0, 0), (0, 15, 1), (15, 15), (15, 0)]]}, TypeError, "outline[0][1]"),
            ({"outline": SQUARE + [[]]}, quarn.OutlineError, "loop 2"),
            ({"programme": "castle"}, quarn.ProgrammeError, "castle"),
            ({"programme": 3}, TypeError, "programme"),
            ({"furniture": True}, quarn.RangeError, "furniture"),
            ({"navigation": "yes"}, TypeError, "navigation"),
        ]
        for arguments, error, word in cases:
            with self.subTest(arguments=arguments):
                arguments = {"outline": SQUARE, **arguments}
                with self.assertRaises(error) as caught:
                    quarn.generate(**arguments)
                self.assertIn(word, str(caught.exception))

    def test_formats_out_of_range_as_in_c(self):
        buildings = quarn.generate(SQUARE)
        for format in (99, -1, "dxf"):
            with self.assertRaises(quarn.RangeError) as caught:
                buildings.to_bytes(format)
            self.assertEqual(caught.exception.status, quarn.Status.RANGE)
        with self.assertRaises(quarn.FormatError):
            buildings.to_bytes("obj")

    def test_statuses_versions_and_errors(self):
        library = quarn._library()
        for status in quarn.Status:
            self.assertEqual(library.quarn_status_string(status).decode(), "QUARN_" + (
                "OK" if status == 0 else "ERROR_" + status.name))
        self.assertEqual(len({cls.status for cls in quarn._ERRORS.values()}),
                         len(quarn.Status) - 1)
        self.assertEqual(quarn.library_version(), quarn.__version__)
        with self.assertRaises(quarn.UnavailableError):
            quarn._Design().check(quarn.Status.UNAVAILABLE)


class ProgressTest(unittest.TestCase):
    def test_progress_reaches_the_total(self):
        seen = []
        quarn.generate(SQUARE, storeys=3, progress=lambda done, total: seen.append((done, total)))
        self.assertGreaterEqual(len(seen), 2)
        self.assertEqual(seen[-1][0], seen[-1][1])
        self.assertEqual([d for d, _ in seen], sorted(d for d, _ in seen))

    def test_cancel_and_errors_in_the_callable(self):
        with self.assertRaises(quarn.CancelledError):
            quarn.generate(SQUARE, progress=lambda done, total: True)

        def fails(done, total):
            raise KeyError("stop here")

        with self.assertRaises(KeyError):
            quarn.generate(SQUARE, progress=fails)
        self.assertEqual(len(quarn.generate(SQUARE, progress=lambda d, t: None)), 1)


if __name__ == "__main__":
    unittest.main()
