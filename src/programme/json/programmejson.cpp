#include "programme/json/programmejson.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace quarn {
namespace {

using Json = nlohmann::ordered_json;

// Largest size (m², m) and count a programme may ask for.
constexpr double kMaxSize = 1e6;
constexpr long kMaxCount = 1000000;

// A refusal of one key: its path and what is wrong.
struct KeyError : std::runtime_error {
  KeyError(const std::string& key, const std::string& problem)
      : std::runtime_error(key + ": " + problem) {}
};

const char* StoreyWishKey(StoreyWish wish) {
  switch (wish) {
    case StoreyWish::kGround:
      return "ground";
    case StoreyWish::kUpper:
      return "upper";
    case StoreyWish::kAny:
      break;
  }
  return "any";
}

double ReadSize(const Json& value, const std::string& key, double low, bool lowIncluded) {
  if (!value.is_number()) throw KeyError(key, "expected a number");
  const double size = value.get<double>();
  if (!std::isfinite(size) || size > kMaxSize || size < low || (!lowIncluded && size == low)) {
    throw KeyError(key, std::string("expected a number ") + (lowIncluded ? ">= " : "> ") +
                            std::to_string(static_cast<int>(low)) + " and at most 1000000");
  }
  return size;
}

int ReadCount(const Json& value, const std::string& key, long low) {
  if (!value.is_number_integer()) throw KeyError(key, "expected a whole number");
  const long count = value.is_number_unsigned()
                         ? static_cast<long>(std::min<std::uint64_t>(value.get<std::uint64_t>(), kMaxCount + 1))
                         : value.get<long>();
  if (count < low || count > kMaxCount) {
    throw KeyError(key, "expected a whole number from " + std::to_string(low) + " to 1000000");
  }
  return static_cast<int>(count);
}

RoomType ReadType(const Json& value, const std::string& key) {
  if (!value.is_string()) throw KeyError(key, "expected a room type");
  const std::optional<RoomType> type = FindRoomType(value.get<std::string>());
  if (!type) throw KeyError(key, "unknown room type \"" + value.get<std::string>() + "\"");
  return *type;
}

void RefuseUnknownKeys(const Json& object, const std::string& key,
                       std::initializer_list<std::string_view> known) {
  for (const auto& [name, value] : object.items()) {
    if (std::find(known.begin(), known.end(), name) == known.end()) {
      throw KeyError(key + name, "unknown key");
    }
  }
}

CountGoal ReadCountGoal(const Json& value, const std::string& key) {
  if (!value.is_object()) throw KeyError(key, "expected an object");
  RefuseUnknownKeys(value, key + ".", {"per", "every", "min", "max"});
  CountGoal goal;
  if (!value.contains("per")) throw KeyError(key + ".per", "missing");
  const Json& per = value["per"];
  if (per == "building") {
    goal.per = CountGoal::Per::kBuilding;
  } else if (per == "storey") {
    goal.per = CountGoal::Per::kStorey;
  } else {
    goal.per = CountGoal::Per::kType;
    goal.perType = ReadType(per, key + ".per");
  }
  if (value.contains("every")) {
    if (goal.per != CountGoal::Per::kType) throw KeyError(key + ".every", "only with a type as per");
    goal.every = ReadCount(value["every"], key + ".every", 1);
  }
  if (value.contains("min")) goal.min = ReadCount(value["min"], key + ".min", 0);
  if (value.contains("max")) goal.max = ReadCount(value["max"], key + ".max", 0);
  if (!goal.min && !goal.max) throw KeyError(key, "expected min or max");
  if (goal.min && goal.max && *goal.min > *goal.max) throw KeyError(key + ".max", "less than min");
  return goal;
}

RoomTypeRules ReadRules(const Json& value, RoomType type, const std::string& key) {
  if (!value.is_object()) throw KeyError(key, "expected an object");
  RefuseUnknownKeys(value, key + ".",
                    {"minArea", "minWidth", "daylight", "area", "storeys", "adjacent", "counts"});
  RoomTypeRules rules;
  rules.used = true;
  for (const char* size : {"minArea", "minWidth", "daylight"}) {
    if (type == RoomType::Hall && value.contains(size)) {
      throw KeyError(key + "." + size, "the hall takes any room and has no minimum or daylight");
    }
  }
  if (value.contains("minArea")) rules.minArea = static_cast<float>(ReadSize(value["minArea"], key + ".minArea", 0, true));
  if (value.contains("minWidth")) rules.minWidth = static_cast<float>(ReadSize(value["minWidth"], key + ".minWidth", 0, true));
  if (value.contains("daylight")) {
    if (!value["daylight"].is_boolean()) throw KeyError(key + ".daylight", "expected true or false");
    rules.daylight = value["daylight"].get<bool>();
  }
  if (value.contains("area")) rules.area = static_cast<float>(ReadSize(value["area"], key + ".area", 0, false));
  if (value.contains("storeys")) {
    const Json& storeys = value["storeys"];
    if (storeys == "any") {
      rules.storeys = StoreyWish::kAny;
    } else if (storeys == "ground") {
      rules.storeys = StoreyWish::kGround;
    } else if (storeys == "upper") {
      rules.storeys = StoreyWish::kUpper;
    } else {
      throw KeyError(key + ".storeys", "expected \"any\", \"ground\" or \"upper\"");
    }
  }
  if (value.contains("adjacent")) {
    const Json& adjacent = value["adjacent"];
    if (!adjacent.is_array()) throw KeyError(key + ".adjacent", "expected a list of room types");
    for (std::size_t i = 0; i < adjacent.size(); ++i) {
      rules.adjacent.push_back(ReadType(adjacent[i], key + ".adjacent[" + std::to_string(i) + "]"));
    }
  }
  if (value.contains("counts")) {
    const Json& counts = value["counts"];
    if (!counts.is_array()) throw KeyError(key + ".counts", "expected a list of counts");
    for (std::size_t i = 0; i < counts.size(); ++i) {
      rules.counts.push_back(ReadCountGoal(counts[i], key + ".counts[" + std::to_string(i) + "]"));
    }
  }
  return rules;
}

// Types other rules name must be used by the programme.
void RequireUsed(const Programme& programme, RoomType type, const std::string& key) {
  if (!programme.Rules(type).used) {
    throw KeyError(key, "names type \"" + std::string(GetRoomTypeKey(type)) +
                            "\", which the programme does not use");
  }
}

Programme ReadProgramme(const Json& json) {
  if (!json.is_object()) throw KeyError("(top)", "expected an object");
  RefuseUnknownKeys(json, "", {"name", "types"});
  Programme programme;
  if (!json.contains("name")) throw KeyError("name", "missing");
  if (!json["name"].is_string() || json["name"].get<std::string>().empty()) {
    throw KeyError("name", "expected a non-empty string");
  }
  programme.name = json["name"].get<std::string>();
  if (!json.contains("types")) throw KeyError("types", "missing");
  const Json& types = json["types"];
  if (!types.is_object()) throw KeyError("types", "expected an object of room types");
  programme.Rules(RoomType::Hall).used = true;
  for (const auto& [name, value] : types.items()) {
    const std::optional<RoomType> type = FindRoomType(name);
    if (!type) throw KeyError("types." + name, "unknown room type");
    programme.Rules(*type) = ReadRules(value, *type, "types." + name);
  }
  for (const auto& [name, value] : types.items()) {
    const RoomTypeRules& rules = programme.Rules(*FindRoomType(name));
    for (std::size_t i = 0; i < rules.adjacent.size(); ++i) {
      RequireUsed(programme, rules.adjacent[i], "types." + name + ".adjacent[" + std::to_string(i) + "]");
    }
    for (std::size_t i = 0; i < rules.counts.size(); ++i) {
      if (rules.counts[i].per != CountGoal::Per::kType) continue;
      RequireUsed(programme, rules.counts[i].perType,
                  "types." + name + ".counts[" + std::to_string(i) + "].per");
    }
  }
  return programme;
}

// The float as the double with the shortest decimal form that reads back
// as the same float, so files show 2.2 rather than 2.2000000476837158.
double ShortDecimal(float value) {
  std::array<char, 32> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  double shortest = 0;
  std::from_chars(text.data(), end, shortest);
  return shortest;
}

Json WriteCountGoal(const CountGoal& goal) {
  Json json = Json::object();
  switch (goal.per) {
    case CountGoal::Per::kBuilding:
      json["per"] = "building";
      break;
    case CountGoal::Per::kStorey:
      json["per"] = "storey";
      break;
    case CountGoal::Per::kType:
      json["per"] = GetRoomTypeKey(goal.perType);
      json["every"] = goal.every;
      break;
  }
  if (goal.min) json["min"] = *goal.min;
  if (goal.max) json["max"] = *goal.max;
  return json;
}

}  // namespace

ProgrammeReadResult ReadProgrammeJson(std::string_view text, std::string_view source) {
  ProgrammeReadResult result;
  const std::string prefix = std::string(source) + ": ";
  Json json;
  try {
    json = Json::parse(text);
  } catch (const Json::parse_error& error) {
    result.error = prefix + "malformed JSON at byte " + std::to_string(error.byte);
    return result;
  }
  try {
    result.programme = ReadProgramme(json);
  } catch (const KeyError& error) {
    result.error = prefix + error.what();
  }
  return result;
}

std::string WriteProgrammeJson(const Programme& programme) {
  Json json = Json::object();
  json["name"] = programme.name;
  Json& types = json["types"] = Json::object();
  for (int t = 0; t < kRoomTypeCount; ++t) {
    const auto type = static_cast<RoomType>(t);
    const RoomTypeRules& rules = programme.Rules(type);
    if (!rules.used) continue;
    Json& entry = types[std::string(GetRoomTypeKey(type))] = Json::object();
    if (type != RoomType::Hall) {
      entry["minArea"] = ShortDecimal(rules.minArea);
      entry["minWidth"] = ShortDecimal(rules.minWidth);
      entry["daylight"] = rules.daylight;
    }
    entry["area"] = ShortDecimal(rules.area);
    entry["storeys"] = StoreyWishKey(rules.storeys);
    Json& adjacent = entry["adjacent"] = Json::array();
    for (const RoomType other : rules.adjacent) adjacent.push_back(GetRoomTypeKey(other));
    Json& counts = entry["counts"] = Json::array();
    for (const CountGoal& goal : rules.counts) counts.push_back(WriteCountGoal(goal));
  }
  return json.dump(2) + "\n";
}

}  // namespace quarn
