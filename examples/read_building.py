"""Reads a finished building back as plain data, with a progress bar when tqdm is installed."""
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
    else:
        print(f"\rdesign steps {done}/{total}", end="\n" if done == total else "")

building = quarn.generate("(0,0)(0,15)(15,15)(15,0)*", storeys=2, progress=show)[0]
if bar:
    bar.close()
print("libquarn", quarn.library_version(), "entrance", building.entrance)
for stair in building.stairs:
    print("stair", stair.lower, stair.footprint, stair.climb, stair.rooms, len(stair.steps), "steps")
for level, storey in enumerate(building.storeys):
    print("storey", level, [(room.area, room.from_entrance) for room in storey.rooms])
