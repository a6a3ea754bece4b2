"""The Python package over the built libquarn (QUARN_LIBRARY)."""

import os
import tempfile
import unittest

import quarn

SQUARE = [[(0, 0), (0, 15), (15, 15), (15, 0)]]


class GenerateTest(unittest.TestCase):
    def test_points_and_text_give_the_same_rooms(self):
        from_points = quarn.generate(SQUARE)
        from_text = quarn.generate("(0,0)(0,15)(15,15)(15,0)*\n")
        rooms = from_points[0].storeys[0].rooms
        self.assertEqual(len(rooms), 5)
        self.assertEqual(sum(room.area for room in rooms), 225)
        self.assertEqual([r.area for r in from_text[0].storeys[0].rooms], [r.area for r in rooms])
        self.assertEqual(len(rooms[0].outline), 4)

    def test_walls_and_slabs(self):
        storey = quarn.generate(SQUARE, storeys=2)[0].storeys[1]
        self.assertIn("door", {wall.opening for wall in storey.walls})
        self.assertTrue(all(1 <= len(wall.rooms) <= 2 for wall in storey.walls))
        self.assertEqual({slab.room for slab in storey.slabs}, set(range(len(storey.rooms))))

    def test_steps_stop_the_design(self):
        rooms = quarn.generate(SQUARE, steps=1)[0].storeys[0].rooms
        self.assertEqual(len(rooms), 1)
        self.assertFalse(rooms[0].complete)

    def test_errors_carry_the_library_message(self):
        for outline, words in [("(0,0)(5,0)*", "loop 1"), (SQUARE, None)]:
            with self.assertRaises(quarn.QuarnError) as caught:
                quarn.generate(outline, storeys=0 if words is None else 1)
            self.assertTrue(str(caught.exception))

    def test_exports(self):
        buildings = quarn.generate(SQUARE)
        self.assertTrue(buildings.plan_svg().startswith("<?xml"))
        self.assertTrue(buildings.to_bytes("json").startswith(b'{"format":"quarn-plan"'))
        self.assertIn(b'"version":2', buildings.to_bytes("json"))
        self.assertIn(b'"version":1', quarn.generate(SQUARE, finished=False).to_bytes("json"))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "house.glb")
            buildings.export(path)
            with open(path, "rb") as glb:
                self.assertEqual(glb.read(4), b"glTF")
            with self.assertRaises(quarn.QuarnError):
                buildings.export(os.path.join(folder, "missing", "house.glb"))


if __name__ == "__main__":
    unittest.main()
