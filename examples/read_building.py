"""A finished, typed, furnished building as plain data, with a progress bar when tqdm is installed."""
import quarn

try:
    from tqdm import tqdm
except ImportError:
    tqdm = None

bar = tqdm(unit="step") if tqdm else None
def show(done, total):
    if bar:
        bar.total = total
        bar.update(done - bar.n)

buildings = quarn.generate("(0,0)(0,15)(15,15)(15,0)*", storeys=2, programme="house",
                           furniture=True, navigation=True, progress=show)
building = buildings[0]
print("libquarn", quarn.library_version(), building.entrance, building.stairs[0].rooms)
for level, storey in enumerate(building.storeys):
    for room in storey.rooms:
        print(level, room.name, room.from_entrance, "doors in,", round(room.reach.path_length, 1), "m")
print(len(building.furniture), "pieces:", sorted({piece.kind for piece in building.furniture}))
first, last = building.storeys[0].rooms[0], building.storeys[-1].rooms[-1]
print("path:", [tuple(round(c, 1) for c in corner)
                for corner in buildings.find_path(0, first.reach.free_point, last.reach.free_point)])
