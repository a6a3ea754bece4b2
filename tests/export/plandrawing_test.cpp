// The floor plans as their readers see them: SVG rasterised by rsvg-convert,
// PDF pages counted by pdfinfo, PNG sizes from the file's own header.

#include "export/plandrawing.h"

#include <gtest/gtest.h>
#include <stb_image.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "generate.h"

namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(QUARN_SOURCE_DIR) / "examples";

TList<TList<CFloor>> Generate(const std::string& example, std::uint32_t storeys = 1) {
  TList<CPolygon2> loops;
  const auto problem = quarn::ReadOutlineLoops((kExamples / example).string(), loops);
  EXPECT_FALSE(problem) << *problem;
  quarn::GenerationSettings settings;
  settings.storeys = storeys;
  quarn::DesignObserver silent;
  return quarn::GenerateFloors(loops, settings, silent);
}

std::string Plan(const TList<TList<CFloor>>& buildings, quarn::PlanFormat format, int pxPerUnit) {
  std::ostringstream out;
  std::string problem;
  EXPECT_TRUE(quarn::WritePlan(buildings, nullptr, {"test.quarn", "all"}, format, pxPerUnit, out, problem))
      << problem;
  return out.str();
}

// A scratch file that is removed with the object.
struct ScratchFile {
  explicit ScratchFile(const std::string& suffix)
      : path(fs::temp_directory_path() /
             ("quarn-plan-" + std::to_string(getpid()) + "-" + suffix)) {}
  ~ScratchFile() { fs::remove(path); }
  fs::path path;
};

std::string RunAndRead(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
  std::array<char, 256> chunk{};
  while (pipe && std::fgets(chunk.data(), chunk.size(), pipe.get())) out += chunk.data();
  return out;
}

TEST(PlanDrawing, SvgShowsEveryRoomInItsFillColour) {
  for (const char* example : {"l-shape.quarn", "courtyard.quarn"}) {
    SCOPED_TRACE(example);
    const TList<TList<CFloor>> buildings = Generate(example);
    ScratchFile svg("plan.svg");
    ScratchFile png("plan.png");
    std::ofstream(svg.path, std::ios::binary) << Plan(buildings, quarn::PlanFormat::kSvg, 12);
    ASSERT_EQ(std::system(("rsvg-convert -o '" + png.path.string() + "' '" + svg.path.string() + "'")
                              .c_str()),
              0);
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load(png.path.c_str(), &width, &height, &channels, 3), &stbi_image_free);
    ASSERT_TRUE(pixels);
    const CFloor& floor = buildings[0][0];
    ASSERT_GT(floor.rooms.GetSize(), 2);
    for (int i = 0; i < floor.rooms.GetSize(); ++i) {
      const CColour fill = quarn::PlanRoomFill(floor.rooms[i], static_cast<unsigned>(i));
      const int want[3] = {static_cast<int>(fill.r * 255 + 0.5f), static_cast<int>(fill.g * 255 + 0.5f),
                           static_cast<int>(fill.b * 255 + 0.5f)};
      int found = 0;
      for (int p = 0; p < width * height; ++p) {
        const stbi_uc* rgb = pixels.get() + p * 3;
        found += std::abs(rgb[0] - want[0]) <= 2 && std::abs(rgb[1] - want[1]) <= 2 &&
                 std::abs(rgb[2] - want[2]) <= 2;
      }
      EXPECT_GT(found, 100) << "room " << i << " fill " << fill;
    }
  }
}

TEST(PlanDrawing, PdfHasOnePagePerStorey) {
  ScratchFile pdf("plan.pdf");
  std::ofstream(pdf.path, std::ios::binary)
      << Plan(Generate("square.quarn", 2), quarn::PlanFormat::kPdf, 16);
  const std::string info = RunAndRead("pdfinfo '" + pdf.path.string() + "' 2>&1");
  const std::size_t pages = info.find("Pages:");
  ASSERT_NE(pages, std::string::npos) << info;
  EXPECT_EQ(std::stoi(info.substr(pages + 6)), 2) << info;
}

// The page grows by exactly the building's extents for every added pixel
// per unit: margins, title and scale bar keep their size.
TEST(PlanDrawing, PngSizeFollowsScaleAndExtents) {
  struct Case {
    const char* example;
    int width, height;  // grid units
  };
  for (const Case& c : {Case{"square.quarn", 15, 15}, Case{"l-shape.quarn", 30, 30},
                        Case{"courtyard.quarn", 40, 30}}) {
    SCOPED_TRACE(c.example);
    const TList<TList<CFloor>> buildings = Generate(c.example);
    const auto sizeAt = [&buildings](int pxPerUnit) {
      const std::string png = Plan(buildings, quarn::PlanFormat::kPng, pxPerUnit);
      int width = 0, height = 0, channels = 0;
      EXPECT_TRUE(stbi_info_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                                        static_cast<int>(png.size()), &width, &height, &channels));
      return std::make_pair(width, height);
    };
    const auto [width20, height20] = sizeAt(20);
    const auto [width40, height40] = sizeAt(40);
    EXPECT_EQ(width40 - width20, c.width * 20);
    EXPECT_EQ(height40 - height20, c.height * 20);
    EXPECT_GT(width20, c.width * 20);
  }
  std::ostringstream out;
  std::string problem;
  EXPECT_FALSE(quarn::WritePlan(Generate("corridor.quarn"), nullptr, {"x", "all"}, quarn::PlanFormat::kPng,
                                quarn::kMaxPlanPxPerUnit, out, problem));
  EXPECT_NE(problem.find("limited to"), std::string::npos) << problem;
}

}  // namespace
