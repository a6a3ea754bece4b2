// The C interface as an embedding program drives it, on arbitrary bytes:
// settings (some out of range), an outline as text or as points (loops of
// any size, 0 and 1 among them), then every read-back at indices in and
// past range and every buffer format, also past the last one. Each call
// either succeeds or returns a status with a message; none may print,
// abort, throw or read out of bounds, and the handle stays usable.
//
// Byte 0: bit 0 points instead of text, bit 1 two storeys, bit 2 finished,
// bits 3-4 the storey count out of range (0, 1001), bits 5-7 the step
// budget in fours (7: all). Byte 1: the room size (a fifth of it) and, in
// its top bit, a variance of 20. Bytes 2-3: extra offsets added to the
// indices. Then the outline: text, or for points a loop count, each loop's
// size and its coordinates as bytes (0 to 15).

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "geom/outlinecheck.h"
#include "quarn/quarn.h"

namespace {

using quarn::fuzz::Expect;

// Outlines larger than this (extent area in cells), or more of them, are
// not generated, so each input stays within milliseconds.
constexpr int kMaxExtentArea = 256;
constexpr int kMaxLoops = 3;
constexpr std::size_t kMaxLoopPoints = 16;

// Standard error, while it lives, goes to a file in memory; whatever the
// library wrote there is a finding, shown on the real standard error.
class StandardErrorCapture {
 public:
  StandardErrorCapture() {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    capture_ = memfd_create("quarn-capi-fuzz-stderr", MFD_CLOEXEC);
    if (saved_ >= 0 && capture_ >= 0) dup2(capture_, STDERR_FILENO);
  }
  ~StandardErrorCapture() {
    std::fflush(stderr);
    if (saved_ >= 0) {
      dup2(saved_, STDERR_FILENO);
      close(saved_);
    }
    std::string written;
    if (capture_ >= 0) {
      std::array<char, 4096> chunk;
      lseek(capture_, 0, SEEK_SET);
      for (ssize_t n; (n = read(capture_, chunk.data(), chunk.size())) > 0;) written.append(chunk.data(), n);
      close(capture_);
    }
    if (!written.empty()) std::fprintf(stderr, "%s", written.c_str());
    Expect(written.empty(), "the library printed to standard error");
  }
  StandardErrorCapture(const StandardErrorCapture&) = delete;
  StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

 private:
  int saved_ = -1;
  int capture_ = -1;
};

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t Next() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
};

quarn_settings SettingsOf(std::uint8_t choice, std::uint8_t sizes, std::uint8_t layers) {
  quarn_settings settings = quarn_default_settings();
  settings.storeys = (choice & 2u) != 0 ? 2 : 1;
  if ((choice & 24u) == 8u) settings.storeys = 0;
  if ((choice & 24u) == 16u) settings.storeys = 1001;
  settings.finished = (choice & 4u) != 0 ? 1 : 0;
  const std::uint32_t steps = choice >> 5;
  settings.steps = steps == 7 ? QUARN_STEPS_ALL : steps * 4;
  settings.room_size = (sizes & 127u) * 5u;
  settings.room_size_variance = (sizes & 128u) != 0 ? 20 : 0;
  // The layers above the design; some of these mixes are refused, as they
  // should be (furniture without a programme, a programme unfinished).
  constexpr const char* kProgrammes[] = {nullptr, "house", "office", "{\"name\": 3}"};
  settings.programme = kProgrammes[layers & 3u];
  settings.furniture = (layers & 4u) != 0 ? 1 : 0;
  settings.navigation = (layers & 24u) == 24u ? 1 : 0;
  return settings;
}

bool SmallEnough(const std::string& text) {
  std::istringstream in(text);
  const quarn::OutlineFile file = quarn::ReadOutlineFile(in);
  if (!file.IsValid()) return true;  // refused before any design
  if (file.loops.GetSize() > kMaxLoops) return false;
  for (int i = 0; i < file.loops.GetSize(); ++i) {
    if (file.loops[i].GetExtents().GetArea() > kMaxExtentArea) return false;
  }
  return true;
}

quarn_status GenerateFromPoints(quarn_design* design, Input& in, const quarn_settings& settings) {
  const std::size_t loops = in.Next() % (kMaxLoops + 1);
  std::vector<std::size_t> sizes;
  std::vector<std::int32_t> xy;
  for (std::size_t i = 0; i < loops; ++i) {
    sizes.push_back(in.Next() % (kMaxLoopPoints + 1));
    for (std::size_t p = 0; p < 2 * sizes.back(); ++p) xy.push_back(in.Next() & 15);
  }
  return quarn_generate_points(design, xy.data(), sizes.data(), sizes.size(), &settings);
}

// A failed call says why; a successful one leaves no message.
void ExpectMessage(const quarn_design* design, quarn_status status) {
  const std::string message = quarn_last_error(design);
  Expect(status == QUARN_OK ? message.empty() : !message.empty(),
         "a failure has a message, a success none");
}

// The layers' read-backs of every room and piece, and one index past them.
void ReadLayers(quarn_design* design, std::size_t b) {
  for (int kind = -1; kind <= QUARN_NOTES_UNREACHABLE + 1; ++kind) {
    std::size_t notes = 0;
    quarn_status status = quarn_note_count(design, b, kind, &notes);
    ExpectMessage(design, status);
    for (std::size_t n = 0; status == QUARN_OK && n <= notes; ++n) {
      const char* text = nullptr;
      ExpectMessage(design, quarn_get_note(design, b, kind, n, &text));
    }
  }
  std::size_t storeys = 0;
  if (quarn_storey_count(design, b, &storeys) != QUARN_OK) return;
  for (std::size_t s = 0; s < storeys; ++s) {
    std::size_t rooms = 0;
    if (quarn_room_count(design, b, s, &rooms) != QUARN_OK) continue;
    for (std::size_t r = 0; r <= rooms; ++r) {
      quarn_room_type type = QUARN_ROOM_UNTYPED;
      const char* name = nullptr;
      ExpectMessage(design, quarn_get_room_type(design, b, s, r, &type, &name));
      quarn_reach reach{};
      ExpectMessage(design, quarn_get_room_reach(design, b, s, r, &reach));
    }
  }
  std::size_t pieces = 0;
  if (quarn_furniture_count(design, b, &pieces) != QUARN_OK) return;
  for (std::size_t p = 0; p <= pieces; ++p) {
    quarn_furniture piece{};
    ExpectMessage(design, quarn_get_furniture(design, b, p, &piece));
    std::size_t count = 0;
    ExpectMessage(design, quarn_get_furniture_boxes(design, b, p, nullptr, 0, &count));
  }
}

void ReadEverything(quarn_design* design, std::size_t offset) {
  std::size_t buildings = 0;
  Expect(quarn_building_count(design, &buildings) == QUARN_OK, "the building count");
  for (std::size_t b = 0; b <= buildings + offset; b += 1 + offset) {
    std::size_t storeys = 0;
    quarn_status status = quarn_storey_count(design, b, &storeys);
    ExpectMessage(design, status);
    Expect((status == QUARN_OK) == (b < buildings), "a building index is checked");
    for (std::size_t s = 0; s <= storeys; ++s) {
      std::size_t rooms = 0;
      status = quarn_room_count(design, b, s, &rooms);
      ExpectMessage(design, status);
      for (std::size_t r = 0; r <= rooms + offset; ++r) {
        quarn_room room{};
        status = quarn_get_room(design, b, s, r, &room);
        ExpectMessage(design, status);
        std::size_t count = 0;
        status = quarn_get_room_outline(design, b, s, r, nullptr, 0, &count);
        ExpectMessage(design, status);
        if (status == QUARN_OK && count > 0) {
          std::vector<std::int32_t> xy(2 * count);
          Expect(quarn_get_room_outline(design, b, s, r, xy.data(), count, &count) == QUARN_OK,
                 "an outline fits the size measured");
        }
      }
      if (s == 0) ReadLayers(design, b);
      std::size_t count = 0;
      if (quarn_get_walls(design, b, s, nullptr, 0, &count) == QUARN_OK && count > 0) {
        std::vector<quarn_wall> walls(count);
        Expect(quarn_get_walls(design, b, s, walls.data(), count - 1, &count) ==
                   QUARN_ERROR_BUFFER_SIZE,
               "a short wall array is refused");
        Expect(quarn_get_walls(design, b, s, walls.data(), count, &count) == QUARN_OK,
               "the walls fit the size measured");
      }
      if (quarn_get_slabs(design, b, s, nullptr, 0, &count) == QUARN_OK && count > 0) {
        std::vector<quarn_slab> slabs(count);
        Expect(quarn_get_slabs(design, b, s, slabs.data(), count, &count) == QUARN_OK,
               "the slabs fit the size measured");
      }
    }
  }
}

void WriteEveryBuffer(quarn_design* design) {
  for (int format = -1; format <= QUARN_FORMAT_FBX + 1; ++format) {
    std::size_t size = 0;
    const quarn_status measured = quarn_write_buffer(design, format, nullptr, 0, &size);
    ExpectMessage(design, measured);
    if (measured != QUARN_OK) continue;
    std::vector<char> bytes(size);
    Expect(quarn_write_buffer(design, format, bytes.data(), size, &size) == QUARN_OK,
           "a buffer of the size measured takes the output");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  const std::uint8_t choice = in.Next();
  const std::uint8_t sizes = in.Next();
  // The low two bits of the third byte give the read-backs' index step, the
  // others the layers.
  const std::uint8_t third = in.Next();
  const quarn_settings settings = SettingsOf(choice, sizes, static_cast<std::uint8_t>(third >> 2));
  const std::size_t offset = third % 4;
  const std::string text(reinterpret_cast<const char*>(in.data), in.size);
  if ((choice & 1u) == 0 && !SmallEnough(text)) return 0;

  const StandardErrorCapture capture;
  quarn_design* design = nullptr;
  Expect(quarn_create(&design) == QUARN_OK, "a handle is made");
  const quarn_status status = (choice & 1u) != 0
                                  ? GenerateFromPoints(design, in, settings)
                                  : quarn_generate_text(design, text.data(), text.size(), &settings);
  ExpectMessage(design, status);
  ReadEverything(design, offset);
  WriteEveryBuffer(design);
  quarn_destroy(design);
  return 0;
}
