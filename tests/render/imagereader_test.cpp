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
      {"odd row lengths are read without padding", MakeBmp({3, 1, 24}, {1, 2, 3, 4, 5, 6, 7, 8, 9}),
       3, 1, GL_RGB, 3, {3, 2, 1, 6, 5, 4, 9, 8, 7}},
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
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadBmp(c.file).has_value()) << c.name;
}

TEST(BmpReader, EveryTruncationOfAValidFileFails) {
  const Bytes files[] = {MakeBmp({3, 2, 24}, Bytes(18, 5)), MakeBmp({2, 2, 8}, {1, 2, 3, 4}),
                         MakeBmp({1, 2, 32}, Bytes(8, 5))};
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
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadTga(c.file).has_value()) << c.name;
}

TEST(TgaReader, EveryTruncationOfAValidFileFails) {
  const Bytes file = MakeTga({2, 2, 32, 2, 3}, Bytes(16, 9));
  ASSERT_TRUE(ReadTga(file).has_value());
  for (std::size_t length = 0; length < file.size(); ++length) {
    const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(ReadTga(prefix).has_value()) << length << " of " << file.size() << " bytes";
  }
}

TEST(PowerOfTwo, RoundsDown) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {0, 0}, {1, 1}, {2, 2}, {3, 2}, {200, 128}, {256, 256}, {300, 256}, {16384, 16384},
      {16385, 16384}, {INT_MAX, 1 << 30}};
  for (const auto& [value, expected] : cases) EXPECT_EQ(quarn::FloorPowerOfTwo(value), expected) << value;
}

}  // namespace
