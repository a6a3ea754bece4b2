// Programme files: the built-ins and the example round-trip, and every
// family of bad file is refused with the file and key named.

#include "programme/json/programmejson.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quarn {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ProgrammeJson, BuiltinsAndTheExampleRoundTrip) {
  for (const char* name : {"house", "office"}) {
    const Programme programme = *GetBuiltinProgramme(name);
    EXPECT_TRUE(IsValidProgramme(programme)) << name;
    const ProgrammeReadResult read = ReadProgrammeJson(WriteProgrammeJson(programme), name);
    ASSERT_TRUE(read.programme) << read.error;
    EXPECT_EQ(*read.programme, programme);
  }
  const std::string example = ReadText("examples/programme.json");
  const ProgrammeReadResult read = ReadProgrammeJson(example, "examples/programme.json");
  ASSERT_TRUE(read.programme) << read.error;
  EXPECT_TRUE(IsValidProgramme(*read.programme));
  EXPECT_EQ(WriteProgrammeJson(*read.programme), example);
}

TEST(ProgrammeJson, BadFilesNameTheFileAndKey) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"", "p.json: malformed JSON at byte 1"},
      {R"({"name": "x", "types": {})", "p.json: malformed JSON at byte 26"},
      {"[]", "p.json: (top): expected an object"},
      {R"({"types": {}})", "p.json: name: missing"},
      {R"({"name": "", "types": {}})", "p.json: name: expected a non-empty string"},
      {R"({"name": "x"})", "p.json: types: missing"},
      {R"({"name": "x", "types": {}, "colour": 1})", "p.json: colour: unknown key"},
      {R"({"name": "x", "types": {"garage": {}}})", "p.json: types.garage: unknown room type"},
      {R"({"name": "x", "types": {"kitchen": {"size": 3}}})", "p.json: types.kitchen.size: unknown key"},
      {R"({"name": "x", "types": {"kitchen": {"minArea": "big"}}})",
       "p.json: types.kitchen.minArea: expected a number"},
      {R"({"name": "x", "types": {"kitchen": {"minArea": -1}}})",
       "p.json: types.kitchen.minArea: expected a number >= 0 and at most 1000000"},
      {R"({"name": "x", "types": {"kitchen": {"area": 0}}})",
       "p.json: types.kitchen.area: expected a number > 0 and at most 1000000"},
      {R"({"name": "x", "types": {"kitchen": {"daylight": 1}}})",
       "p.json: types.kitchen.daylight: expected true or false"},
      {R"({"name": "x", "types": {"kitchen": {"storeys": "roof"}}})",
       "p.json: types.kitchen.storeys: expected \"any\", \"ground\" or \"upper\""},
      {R"({"name": "x", "types": {"kitchen": {"adjacent": ["hall", "pool"]}}})",
       "p.json: types.kitchen.adjacent[1]: unknown room type \"pool\""},
      {R"({"name": "x", "types": {"kitchen": {"adjacent": ["living"]}}})",
       "p.json: types.kitchen.adjacent[0]: names type \"living\", which the programme does not use"},
      {R"({"name": "x", "types": {"kitchen": {"counts": [{"per": "building", "min": 2, "max": 1}]}}})",
       "p.json: types.kitchen.counts[0].max: less than min"},
      {R"({"name": "x", "types": {"kitchen": {"counts": [{"per": "storey", "min": 1.5}]}}})",
       "p.json: types.kitchen.counts[0].min: expected a whole number"},
      {R"({"name": "x", "types": {"kitchen": {"counts": [{"per": "storey", "max": 99999999999}]}}})",
       "p.json: types.kitchen.counts[0].max: expected a whole number from 0 to 1000000"},
      {R"({"name": "x", "types": {"kitchen": {"counts": [{"per": "storey"}]}}})",
       "p.json: types.kitchen.counts[0]: expected min or max"},
      {R"({"name": "x", "types": {"kitchen": {"counts": [{"per": "storey", "every": 2, "min": 1}]}}})",
       "p.json: types.kitchen.counts[0].every: only with a type as per"},
      {R"({"name": "x", "types": {"kitchen": {"counts": [{"per": "bedroom", "every": 0, "min": 1}]}}})",
       "p.json: types.kitchen.counts[0].every: expected a whole number from 1 to 1000000"},
      {R"({"name": "x", "types": {"kitchen": {"counts": [{"per": "bedroom", "min": 1}]}}})",
       "p.json: types.kitchen.counts[0].per: names type \"bedroom\", which the programme does not use"},
      {R"({"name": "x", "types": {"hall": {"minArea": 4}}})",
       "p.json: types.hall.minArea: the hall takes any room and has no minimum or daylight"},
  };
  for (const auto& c : cases) {
    const ProgrammeReadResult read = ReadProgrammeJson(c.text, "p.json");
    EXPECT_FALSE(read.programme) << c.text;
    EXPECT_EQ(read.error, c.error) << c.text;
  }
}

}  // namespace
}  // namespace quarn
