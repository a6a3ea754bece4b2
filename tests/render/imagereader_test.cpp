#include "render/imagereader.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "test_images.h"

namespace {

using quarn::ReadBmp;
using quarn::ReadTga;
using quarn::test::BmpHeader;
using quarn::test::Bytes;
using quarn::test::MakeBmp;
using quarn::test::MakeTga;
using quarn::test::TgaHeader;

struct DecodeCase {
  std::string name;
  Bytes file;
  std::int32_t width, height;
  GLenum format;
  std::int32_t components;
  Bytes pixels;  // expected, bottom row first, red first
};

void ExpectDecoded(const std::optional<Image>& image, const DecodeCase& c) {
  SCOPED_TRACE(c.name);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, c.width);
  EXPECT_EQ(image->height, c.height);
  EXPECT_EQ(image->format, c.format);
  EXPECT_EQ(image->components, c.components);
  EXPECT_EQ(image->pixelCount, c.width * c.height);
  EXPECT_EQ(image->byteCount, c.width * c.height * c.components);
  EXPECT_EQ(image->pixels, c.pixels);
}

// The file with gap bytes inserted between the headers and the pixels, and
// the pixel-data offset moved past them.
Bytes WithGapBeforePixels(Bytes file, std::size_t gap) {
  const std::size_t pixelsAt = file[10] | file[11] << 8;
  file.insert(file.begin() + static_cast<std::ptrdiff_t>(pixelsAt), gap, 0xEE);
  quarn::test::PutLE(file, 10, pixelsAt + gap, 4);
  quarn::test::PutLE(file, 2, file.size(), 4);
  return file;
}

// The file with its pixel-data offset replaced.
Bytes WithPixelsAt(Bytes file, std::uint32_t pixelsAt) {
  quarn::test::PutLE(file, 10, pixelsAt, 4);
  return file;
}

TEST(BmpReader, DecodesEachSupportedDepth) {
  const DecodeCase cases[] = {
      {"8 bits as luminance", MakeBmp({2, 2, 8}, {1, 2, 3, 4}), 2, 2, GL_LUMINANCE, 1, {1, 2, 3, 4}},
      {"24 bits, blue-green-red becomes red-green-blue",
       MakeBmp({2, 1, 24}, {10, 20, 30, 40, 50, 60}), 2, 1, GL_RGB, 3, {30, 20, 10, 60, 50, 40}},
      {"32 bits, blue-green-red-alpha becomes red-green-blue-alpha",
       MakeBmp({1, 2, 32}, {1, 2, 3, 4, 5, 6, 7, 8}), 1, 2, GL_RGBA, 4, {3, 2, 1, 4, 7, 6, 5, 8}},
      {"rows stay bottom-up as stored", MakeBmp({1, 3, 24}, {1, 1, 1, 2, 2, 2, 3, 3, 3}), 1, 3,
       GL_RGB, 3, {1, 1, 1, 2, 2, 2, 3, 3, 3}},
      {"a top-down file is turned bottom-up", MakeBmp({1, -3, 24}, {1, 1, 1, 2, 2, 2, 3, 3, 3}), 1,
       3, GL_RGB, 3, {3, 3, 3, 2, 2, 2, 1, 1, 1}},
      {"odd row lengths are read with their padding",
       MakeBmp({3, 2, 24}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19}), 3, 2,
       GL_RGB, 3, {3, 2, 1, 6, 5, 4, 9, 8, 7, 13, 12, 11, 16, 15, 14, 19, 18, 17}},
      {"8-bit rows padded too", MakeBmp({3, 2, 8}, {1, 2, 3, 4, 5, 6}), 3, 2, GL_LUMINANCE, 1,
       {1, 2, 3, 4, 5, 6}},
      {"pixels taken from the pixel-data offset, after a colour table",
       WithGapBeforePixels(MakeBmp({1, 1, 24}, {1, 2, 3}), 8), 1, 1, GL_RGB, 3, {3, 2, 1}},
  };
  for (const DecodeCase& c : cases) ExpectDecoded(ReadBmp(c.file), c);
}

TEST(BmpReader, IgnoresBytesAfterThePixels) {
  Bytes file = MakeBmp({1, 1, 24}, {1, 2, 3});
  file.insert(file.end(), {9, 9, 9, 9});
  ASSERT_TRUE(ReadBmp(file));
  EXPECT_EQ(ReadBmp(file)->pixels, (Bytes{3, 2, 1}));
}

TEST(BmpReader, RejectsMalformedAndUnsupportedFiles) {
  const Bytes four(4 * 3, 7);
  Bytes wrongMagic = MakeBmp({2, 2, 24}, four);
  wrongMagic[0] = 'P';
  const struct {
    std::string name;
    Bytes file;
  } cases[] = {
      {"empty", {}},
      {"wrong signature", wrongMagic},
      {"12-byte core header", MakeBmp({2, 2, 24, 12}, four)},
      {"108-byte header", MakeBmp({2, 2, 24, 108}, four)},
      {"run-length compression", MakeBmp({2, 2, 24, 40, 1}, four)},
      {"bit fields", MakeBmp({2, 2, 32, 40, 3}, Bytes(16, 7))},
      {"zero width", MakeBmp({0, 2, 24}, four)},
      {"zero height", MakeBmp({2, 0, 24}, four)},
      {"negative width", MakeBmp({-2, 2, 24}, four)},
      {"most negative height", MakeBmp({2, INT_MIN, 24}, four)},
      {"width over the limit", MakeBmp({16385, 1, 24}, Bytes(16385 * 3, 7))},
      {"top-down height over the limit", MakeBmp({1, -16385, 24}, Bytes(16385 * 3, 7))},
      {"huge claimed size, tiny file", MakeBmp({16384, 16384, 32}, four)},
      {"largest width times height overflowing 32 bits", MakeBmp({INT_MAX, INT_MAX, 32}, four)},
      {"16 bits per pixel", MakeBmp({2, 2, 16}, Bytes(8, 7))},
      {"1 bit per pixel", MakeBmp({2, 2, 1}, Bytes(8, 7))},
      {"0 bits per pixel", MakeBmp({2, 2, 0}, four)},
      {"pixels inside the file header", WithPixelsAt(MakeBmp({2, 2, 24}, four), 0)},
      {"pixels inside the information header", WithPixelsAt(MakeBmp({2, 2, 24}, four), 53)},
      {"last row past the end", WithPixelsAt(MakeBmp({2, 2, 24}, four), 55)},
      {"pixels far past the end", WithPixelsAt(MakeBmp({2, 2, 24}, four), 0xFFFFFFFF)},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadBmp(c.file).has_value()) << c.name;
}

TEST(BmpReader, EveryTruncationOfAValidFileFails) {
  const Bytes files[] = {MakeBmp({3, 2, 24}, Bytes(18, 5)), MakeBmp({2, 2, 8}, {1, 2, 3, 4}),
                         MakeBmp({1, 2, 32}, Bytes(8, 5)),
                         WithGapBeforePixels(MakeBmp({1, 2, 24}, Bytes(6, 5)), 12)};
  for (const Bytes& file : files) {
    ASSERT_TRUE(ReadBmp(file).has_value());
    for (std::size_t length = 0; length < file.size(); ++length) {
      // A copy of exactly length bytes, so reading past it is caught.
      const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_FALSE(ReadBmp(prefix).has_value()) << length << " of " << file.size() << " bytes";
    }
  }
}

TEST(TgaReader, DecodesTrueColourAndGrey) {
  const DecodeCase cases[] = {
      {"24 bits", MakeTga({2, 1, 24}, {10, 20, 30, 40, 50, 60}), 2, 1, GL_RGB, 3,
       {30, 20, 10, 60, 50, 40}},
      {"32 bits", MakeTga({1, 1, 32}, {1, 2, 3, 4}), 1, 1, GL_RGBA, 4, {3, 2, 1, 4}},
      {"grey type with 24 bits", MakeTga({1, 1, 24, 3}, {1, 2, 3}), 1, 1, GL_RGB, 3, {3, 2, 1}},
      {"identification field skipped", MakeTga({1, 1, 24, 2, 5}, {1, 2, 3}), 1, 1, GL_RGB, 3,
       {3, 2, 1}},
      {"colour map skipped", MakeTga({1, 1, 24, 2, 3, 0, 5, 15}, {1, 2, 3}), 1, 1, GL_RGB, 3,
       {3, 2, 1}},
      {"rows stay bottom-up as stored", MakeTga({1, 2, 24}, {1, 1, 1, 2, 2, 2}), 1, 2, GL_RGB, 3,
       {1, 1, 1, 2, 2, 2}},
      {"a top-left origin is turned bottom-up", MakeTga({1, 2, 24, 2, 0, 0x20}, {1, 1, 1, 2, 2, 2}),
       1, 2, GL_RGB, 3, {2, 2, 2, 1, 1, 1}},
  };
  for (const DecodeCase& c : cases) ExpectDecoded(ReadTga(c.file), c);
}

TEST(TgaReader, RejectsMalformedAndUnsupportedFiles) {
  const struct {
    std::string name;
    Bytes file;
  } cases[] = {
      {"colour-mapped", MakeTga({1, 1, 24, 1}, {1, 2, 3})},
      {"run-length true colour", MakeTga({1, 1, 24, 10}, {1, 2, 3})},
      {"8-bit grey", MakeTga({2, 2, 8, 3}, {1, 2, 3, 4})},
      {"16 bits", MakeTga({2, 1, 16}, {1, 2, 3, 4})},
      {"zero width", MakeTga({0, 1, 24}, {1, 2, 3})},
      {"zero height", MakeTga({1, 0, 24}, {1, 2, 3})},
      {"width over the limit", MakeTga({16385, 1, 24}, Bytes(16385 * 3, 1))},
      {"huge claimed size, tiny file", MakeTga({16384, 16384, 32}, {1, 2, 3, 4})},
      {"right-to-left rows", MakeTga({1, 1, 24, 2, 0, 0x10}, {1, 2, 3})},
      {"interleaved rows", MakeTga({1, 1, 24, 2, 0, 0x40}, {1, 2, 3})},
      {"unknown colour-map type", [] {
         Bytes file = MakeTga({1, 1, 24}, {1, 2, 3});
         file[1] = 2;
         return file;
       }()},
      {"colour map longer than the file", [] {
         Bytes file = MakeTga({1, 1, 24}, {1, 2, 3});
         file[1] = 1;
         quarn::test::PutLE(file, 5, 0xFFFF, 2);
         file[7] = 32;
         return file;
       }()},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadTga(c.file).has_value()) << c.name;
}

TEST(TgaReader, EveryTruncationOfAValidFileFails) {
  for (const Bytes& file : {MakeTga({2, 2, 32, 2, 3}, Bytes(16, 9)),
                            MakeTga({1, 2, 24, 2, 1, 0x20, 2, 16}, Bytes(6, 9))}) {
    ASSERT_TRUE(ReadTga(file).has_value());
    for (std::size_t length = 0; length < file.size(); ++length) {
      const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_FALSE(ReadTga(prefix).has_value()) << length << " of " << file.size() << " bytes";
    }
  }
}

TEST(PowerOfTwo, RoundsDown) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {0, 0}, {1, 1}, {2, 2}, {3, 2}, {200, 128}, {256, 256}, {300, 256}, {16384, 16384},
      {16385, 16384}, {INT_MAX, 1 << 30}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(quarn::FloorPowerOfTwo(value), expected) << value;
}

}  // namespace
