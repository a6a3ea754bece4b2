#include "export/jsonwriter.h"

#include "support/assert_recorder.h"

#include <gtest/gtest.h>

#include <functional>

#include <limits>
#include <sstream>
#include <string>

namespace quarn {
namespace {

struct FloatCase {
  float value;
  const char* text;
};

class FormatFloatTest : public testing::TestWithParam<FloatCase> {};

TEST_P(FormatFloatTest, NineSignificantDigitsTrailingZerosDropped) {
  EXPECT_EQ(FormatFloat(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatFloatTest,
    testing::Values(FloatCase{0.0f, "0"}, FloatCase{-0.0f, "-0"}, FloatCase{1.5f, "1.5"},
                    FloatCase{45.0f, "45"}, FloatCase{-0.1f, "-0.100000001"},
                    FloatCase{0.35f, "0.349999994"}, FloatCase{4.9f, "4.9000001"},
                    FloatCase{123456789.0f, "123456792"}, FloatCase{1e9f, "1e+09"},
                    FloatCase{1e-5f, "9.99999975e-06"},
                    FloatCase{std::numeric_limits<float>::infinity(), "null"},
                    FloatCase{std::numeric_limits<float>::quiet_NaN(), "null"}));

// Nine digits are what it takes to read every float back unchanged.
TEST(FormatFloatTest, ReadsBackToTheSameFloat) {
  for (float value : {0.1f, 1.0f / 3.0f, 0.530131578f, 16777217.0f, 1e-30f, 3.4e38f, -2.5e-3f}) {
    EXPECT_EQ(std::stof(FormatFloat(value)), value) << FormatFloat(value);
  }
}

TEST(QuoteJsonTest, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(QuoteJson("quarn-plan"), "\"quarn-plan\"");
  EXPECT_EQ(QuoteJson("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(QuoteJson(std::string("\n\x01\x1f", 3)), "\"\\u000a\\u0001\\u001f\"");
  EXPECT_EQ(QuoteJson("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
}

TEST(JsonWriterTest, PlacesCommasAndColonsInCallOrder) {
  std::ostringstream out;
  JsonWriter json(out);
  json.BeginObject();
  json.Key("b");
  json.Int(-7);
  json.Key("a");
  json.BeginArray();
  json.BeginArray();
  json.EndArray();
  json.Unsigned(4294967295u);
  json.Float(0.5f);
  json.Bool(true);
  json.BeginObject();
  json.EndObject();
  json.EndArray();
  json.Key("c");
  json.String("all");
  EXPECT_FALSE(json.IsComplete());
  json.EndObject();
  EXPECT_TRUE(json.IsComplete());
  EXPECT_EQ(out.str(), R"({"b":-7,"a":[[],4294967295,0.5,true,{}],"c":"all"})");
}

TEST(JsonWriterTest, IntegersKeepAllTheirDigits) {
  std::ostringstream out;
  JsonWriter json(out);
  json.BeginArray();
  json.Int(std::numeric_limits<std::int64_t>::min());
  json.Unsigned(std::numeric_limits<std::uint64_t>::max());
  json.EndArray();
  EXPECT_EQ(out.str(), "[-9223372036854775808,18446744073709551615]");
}

struct MisuseCase {
  const char* name;
  std::function<void(JsonWriter&)> setUp;
  std::function<void(JsonWriter&)> misuse;
};

void PrintTo(const MisuseCase& c, std::ostream* os) { *os << c.name; }

class JsonWriterMisuseTest : public testing::TestWithParam<MisuseCase> {};

TEST_P(JsonWriterMisuseTest, IsAnAssertion) {
  std::ostringstream out;
  JsonWriter json(out);
  GetParam().setUp(json);
  EXPECT_QUARN_ASSERTION(GetParam().misuse(json), "jsonwriter");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JsonWriterMisuseTest,
    testing::Values(
        MisuseCase{"ValueWithoutKey", [](JsonWriter& j) { j.BeginObject(); },
                   [](JsonWriter& j) { j.Int(1); }},
        MisuseCase{"KeyInArray", [](JsonWriter& j) { j.BeginArray(); },
                   [](JsonWriter& j) { j.Key("k"); }},
        MisuseCase{"TwoKeysInARow", [](JsonWriter& j) {
                     j.BeginObject();
                     j.Key("k");
                   },
                   [](JsonWriter& j) { j.Key("l"); }},
        MisuseCase{"ClosingTheWrongContainer", [](JsonWriter& j) { j.BeginArray(); },
                   [](JsonWriter& j) { j.EndObject(); }},
        MisuseCase{"ClosingAfterAKey", [](JsonWriter& j) {
                     j.BeginObject();
                     j.Key("k");
                   },
                   [](JsonWriter& j) { j.EndObject(); }},
        MisuseCase{"SecondTopLevelValue", [](JsonWriter& j) { j.Bool(false); },
                   [](JsonWriter& j) { j.Bool(true); }}),
    [](const testing::TestParamInfo<MisuseCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarn
