// ApplyProgramme: the hard rules are kept by construction, the goals by a
// deterministic local search over single-room type changes.
//
// The public rooms of a storey form a connected set that holds the entrance
// room and the stair rooms and borders every other room; every other room
// is private and keeps one door, to a public neighbour. Any such split keeps
// every room reachable, so the search may change a room's type only to one
// the room fits (size, width, daylight) and, when that makes a public room
// private, only while the split stays such a set.

#include <algorithm>
#include <cmath>
#include <deque>
#include <unordered_map>

#include "programme/programme.h"

namespace quarn {
namespace {

// Weights of the objective, minimised: a missing or surplus room of a
// count outweighs every storey wish, a storey wish outweighs an adjacency,
// and the fit of sizes only orders what the goals leave open.
constexpr double kCountWeight = 1000;
constexpr double kStoreyWeight = 100;
constexpr double kAdjacentWeight = 40;
constexpr double kFitWeight = 1;
constexpr int kMaxPasses = 40;

// A wall from one room to another: the other room's site and the wall's
// index in its storey.
struct Link {
  int site;
  int wall;
};

// One room of a complete storey, as the search sees it.
struct Site {
  int storey = 0;
  int room = 0;
  int component = 0;   // its connected part of the storey's rooms
  double area = 0;     // m²
  double width = 0;    // m
  bool lit = false;    // has a window
  bool required = false;  // entrance or stair room: must be public
  std::vector<Link> links;  // in wall order
  std::vector<RoomType> fits;  // used types the room is large, wide and lit enough for
};

bool Fits(const RoomTypeRules& rules, const Site& site) {
  return rules.used && site.area >= rules.minArea && site.width >= rules.minWidth &&
         (site.lit || !rules.daylight);
}

bool Contains(const std::vector<RoomType>& types, RoomType type) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

std::string FormatNumber(double value) {
  const double rounded = std::round(value * 10) / 10;
  std::string text = std::to_string(rounded);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string TypeKey(RoomType type) { return std::string(GetRoomTypeKey(type)); }

int CeilDiv(long a, long b) { return static_cast<int>((a + b - 1) / b); }

class Assignment {
 public:
  Assignment(const TList<CFloor>& floors, const FinishedBuilding& finished,
             const Programme& programme, float unit);

  void Search();
  TypedBuilding Result() const;

 private:
  int Type(int site) const { return type_[static_cast<std::size_t>(site)]; }
  bool IsPublic(int site) const { return IsPublicRoomType(static_cast<RoomType>(Type(site))); }
  const RoomTypeRules& RulesOf(int site) const {
    return programme_.Rules(static_cast<RoomType>(Type(site)));
  }
  const Site& At(int site) const { return sites_[static_cast<std::size_t>(site)]; }

  void CollectSites(const TList<CFloor>& floors, const FinishedBuilding& finished, float unit);
  void SplitPublic();
  std::vector<int> ComponentSites(int component) const;
  void ConnectSeeds(const std::vector<int>& seeds, std::vector<bool>& isPublic) const;
  void Dominate(const std::vector<int>& sites, std::vector<bool>& isPublic) const;

  int DoorWall(int site) const;
  int ChooseDoor(int site) const;
  bool IsKept(int site, const Link& link) const;
  bool OpensToWished(int site) const;
  bool IsStoreyWishMet(int site) const;
  double Local(int site) const;
  double CountPenalty() const;
  void SetType(int site, int type);
  bool CanBePrivate(int site) const;
  bool TryType(int site, int type);

  void AddCountPhrases(RoomType type, std::vector<std::string>& unmet) const;
  std::string WhyTooFew(RoomType type) const;

  const Programme& programme_;
  int storeys_ = 0;
  std::vector<std::vector<int>> siteOf_;  // [storey][room], -1 where untyped
  std::vector<Site> sites_;
  std::vector<int> componentPublic_;  // public rooms per component
  std::vector<int> type_;
  std::vector<int> door_;  // index into links for private rooms, else -1
  std::vector<double> local_;
  double localSum_ = 0;
  std::vector<int> count_;                 // [type]
  std::vector<std::vector<int>> storeyCount_;  // [storey][type]
  std::vector<int> stamp_;
  int stampNow_ = 0;
};

Assignment::Assignment(const TList<CFloor>& floors, const FinishedBuilding& finished,
                       const Programme& programme, float unit)
    : programme_(programme), storeys_(floors.GetSize()) {
  CollectSites(floors, finished, unit);
  const std::size_t n = sites_.size();
  type_.assign(n, static_cast<int>(RoomType::Hall));
  door_.assign(n, -1);
  local_.assign(n, 0);
  stamp_.assign(n, 0);
  // Every room starts as a hall, and so public.
  count_.assign(kRoomTypeCount, 0);
  storeyCount_.assign(static_cast<std::size_t>(storeys_), std::vector<int>(kRoomTypeCount, 0));
  const auto hall = static_cast<std::size_t>(RoomType::Hall);
  count_[hall] = static_cast<int>(n);
  for (const Site& site : sites_) {
    ++storeyCount_[static_cast<std::size_t>(site.storey)][hall];
    ++componentPublic_[static_cast<std::size_t>(site.component)];
  }
  SplitPublic();
}

void Assignment::CollectSites(const TList<CFloor>& floors, const FinishedBuilding& finished,
                              float unit) {
  for (int k = 0; k < storeys_; ++k) {
    const CFloor& floor = floors[k];
    std::vector<int>& sites = siteOf_.emplace_back(static_cast<std::size_t>(floor.rooms.GetSize()), -1);
    if (static_cast<std::size_t>(k) >= finished.complete.size() ||
        !finished.complete[static_cast<std::size_t>(k)]) {
      continue;
    }
    const int first = static_cast<int>(sites_.size());
    for (int r = 0; r < floor.rooms.GetSize(); ++r) {
      Site site;
      site.storey = k;
      site.room = r;
      site.area = GetRoomArea(floor, r) * unit * unit;
      const CPoint2 size = floor.rooms[r].outline.GetExtents().GetSize();
      site.width = std::min(size.x, size.y) * static_cast<double>(unit);
      sites[static_cast<std::size_t>(r)] = static_cast<int>(sites_.size());
      sites_.push_back(std::move(site));
    }
    const std::unordered_map<const CRoom*, int> indices = floor.GetRoomIndices();
    const auto siteOfRoom = [&](const CRoom* room) {
      const auto found = indices.find(room);
      return found == indices.end() ? -1 : first + found->second;
    };
    for (int w = 0; w < floor.walls.GetSize(); ++w) {
      const CWall& wall = floor.walls[w];
      const int a = siteOfRoom(wall.pair.first);
      if (wall.GetRoomCount() == 1) {
        const bool entrance = k == 0 && finished.entrance && finished.entrance->wall == w;
        if (a >= 0 && !entrance && wall.GetOpening() == CWall::Opening::kWindow) {
          sites_[static_cast<std::size_t>(a)].lit = true;
        }
        continue;
      }
      const int b = siteOfRoom(wall.pair.second);
      if (a < 0 || b < 0 || a == b) continue;
      sites_[static_cast<std::size_t>(a)].links.push_back({b, w});
      sites_[static_cast<std::size_t>(b)].links.push_back({a, w});
    }
  }
  const auto require = [&](int storey, int room) {
    if (storey < 0 || storey >= storeys_) return;
    const std::vector<int>& sites = siteOf_[static_cast<std::size_t>(storey)];
    if (room >= 0 && static_cast<std::size_t>(room) < sites.size() &&
        sites[static_cast<std::size_t>(room)] >= 0) {
      sites_[static_cast<std::size_t>(sites[static_cast<std::size_t>(room)])].required = true;
    }
  };
  if (finished.entrance) require(0, finished.entrance->room);
  for (const std::optional<Stair>& stair : finished.stairs) {
    if (!stair) continue;
    require(stair->lower, stair->roomBelow);
    require(stair->lower + 1, stair->roomAbove);
  }
  for (Site& site : sites_) {
    for (int t = 0; t < kRoomTypeCount; ++t) {
      const auto type = static_cast<RoomType>(t);
      if (type == RoomType::Hall || Fits(programme_.Rules(type), site)) site.fits.push_back(type);
    }
  }
  // Components of each storey's rooms through their walls.
  int components = 0;
  std::vector<bool> seen(sites_.size(), false);
  for (std::size_t s = 0; s < sites_.size(); ++s) {
    if (seen[s]) continue;
    std::deque<int> queue{static_cast<int>(s)};
    seen[s] = true;
    while (!queue.empty()) {
      Site& site = sites_[static_cast<std::size_t>(queue.front())];
      queue.pop_front();
      site.component = components;
      for (const Link& link : site.links) {
        if (seen[static_cast<std::size_t>(link.site)]) continue;
        seen[static_cast<std::size_t>(link.site)] = true;
        queue.push_back(link.site);
      }
    }
    ++components;
  }
  componentPublic_.assign(static_cast<std::size_t>(components), 0);
}

std::vector<int> Assignment::ComponentSites(int component) const {
  std::vector<int> sites;
  for (std::size_t s = 0; s < sites_.size(); ++s) {
    if (sites_[s].component == component) sites.push_back(static_cast<int>(s));
  }
  return sites;
}

// Adds to the public set the rooms of shortest paths joining every seed to
// the first one.
void Assignment::ConnectSeeds(const std::vector<int>& seeds, std::vector<bool>& isPublic) const {
  for (std::size_t i = 1; i < seeds.size(); ++i) {
    const int target = seeds[i];
    std::unordered_map<int, int> from;
    std::deque<int> queue;
    for (std::size_t s = 0; s < sites_.size(); ++s) {
      if (isPublic[s] && sites_[s].component == At(target).component) {
        from[static_cast<int>(s)] = -1;
        queue.push_back(static_cast<int>(s));
      }
    }
    while (!queue.empty() && !from.contains(target)) {
      const int s = queue.front();
      queue.pop_front();
      for (const Link& link : At(s).links) {
        if (from.emplace(link.site, s).second) queue.push_back(link.site);
      }
    }
    for (int s = target; s >= 0 && from.contains(s); s = from[s]) isPublic[static_cast<std::size_t>(s)] = true;
  }
}

// Grows the connected public set until it borders every room of sites: the
// room next to it that borders most rooms not yet bordered first.
void Assignment::Dominate(const std::vector<int>& sites, std::vector<bool>& isPublic) const {
  std::vector<bool> covered(sites_.size(), false);
  const auto cover = [&](int s) {
    covered[static_cast<std::size_t>(s)] = true;
    for (const Link& link : At(s).links) covered[static_cast<std::size_t>(link.site)] = true;
  };
  for (const int s : sites) {
    if (isPublic[static_cast<std::size_t>(s)]) cover(s);
  }
  while (true) {
    int best = -1;
    int bestGain = 0;
    for (const int s : sites) {
      if (isPublic[static_cast<std::size_t>(s)] || !covered[static_cast<std::size_t>(s)]) continue;
      bool nextToPublic = false;
      int gain = 0;
      for (const Link& link : At(s).links) {
        nextToPublic = nextToPublic || isPublic[static_cast<std::size_t>(link.site)];
        gain += covered[static_cast<std::size_t>(link.site)] ? 0 : 1;
      }
      if (nextToPublic && gain > bestGain) {
        best = s;
        bestGain = gain;
      }
    }
    if (best < 0) return;
    isPublic[static_cast<std::size_t>(best)] = true;
    cover(best);
  }
}

void Assignment::SplitPublic() {
  std::vector<bool> isPublic(sites_.size(), false);
  for (std::size_t c = 0; c < componentPublic_.size(); ++c) {
    const std::vector<int> sites = ComponentSites(static_cast<int>(c));
    std::vector<int> seeds;
    for (const int s : sites) {
      const Site& site = At(s);
      const bool privateFits = std::any_of(site.fits.begin(), site.fits.end(),
                                           [](RoomType t) { return !IsPublicRoomType(t); });
      if (site.required || !privateFits || site.links.empty()) seeds.push_back(s);
    }
    if (seeds.empty()) {
      seeds.push_back(*std::max_element(sites.begin(), sites.end(), [&](int a, int b) {
        return At(a).links.size() < At(b).links.size();
      }));
    }
    isPublic[static_cast<std::size_t>(seeds.front())] = true;
    ConnectSeeds(seeds, isPublic);
    Dominate(sites, isPublic);
  }
  // Public rooms start as halls, private ones as the type nearest their size.
  for (std::size_t s = 0; s < sites_.size(); ++s) {
    int type = static_cast<int>(RoomType::Hall);
    if (!isPublic[s]) {
      double best = 0;
      for (const RoomType t : sites_[s].fits) {
        const double fit = std::abs(std::log(sites_[s].area / programme_.Rules(t).area));
        if (!IsPublicRoomType(t) && (type == static_cast<int>(RoomType::Hall) || fit < best)) {
          type = static_cast<int>(t);
          best = fit;
        }
      }
    }
    SetType(static_cast<int>(s), type);
  }
  for (std::size_t s = 0; s < sites_.size(); ++s) door_[s] = ChooseDoor(static_cast<int>(s));
  localSum_ = 0;
  for (std::size_t s = 0; s < sites_.size(); ++s) {
    local_[s] = Local(static_cast<int>(s));
    localSum_ += local_[s];
  }
}

void Assignment::SetType(int site, int type) {
  const auto s = static_cast<std::size_t>(site);
  const auto storey = static_cast<std::size_t>(sites_[s].storey);
  const bool wasPublic = IsPublic(site);
  --count_[static_cast<std::size_t>(type_[s])];
  --storeyCount_[storey][static_cast<std::size_t>(type_[s])];
  type_[s] = type;
  ++count_[static_cast<std::size_t>(type)];
  ++storeyCount_[storey][static_cast<std::size_t>(type)];
  componentPublic_[static_cast<std::size_t>(sites_[s].component)] +=
      (IsPublic(site) ? 1 : 0) - (wasPublic ? 1 : 0);
}

int Assignment::DoorWall(int site) const {
  const int door = door_[static_cast<std::size_t>(site)];
  return door < 0 ? -1 : At(site).links[static_cast<std::size_t>(door)].wall;
}

// A private room's door: to a public neighbour of a type it wishes to open
// to, else one that wishes to open to its type, else a hall, else the
// first; -1 for a public room.
int Assignment::ChooseDoor(int site) const {
  if (IsPublic(site)) return -1;
  const RoomTypeRules& rules = RulesOf(site);
  const auto type = static_cast<RoomType>(Type(site));
  int best = -1;
  int bestRank = 4;
  const std::vector<Link>& links = At(site).links;
  for (std::size_t i = 0; i < links.size(); ++i) {
    const int other = links[i].site;
    if (!IsPublic(other)) continue;
    const auto otherType = static_cast<RoomType>(Type(other));
    int rank = 3;
    if (Contains(rules.adjacent, otherType)) {
      rank = 0;
    } else if (Contains(RulesOf(other).adjacent, type)) {
      rank = 1;
    } else if (otherType == RoomType::Hall) {
      rank = 2;
    }
    if (rank < bestRank) {
      best = static_cast<int>(i);
      bestRank = rank;
    }
  }
  return best;
}

bool Assignment::IsKept(int site, const Link& link) const {
  const bool here = IsPublic(site);
  const bool there = IsPublic(link.site);
  if (here && there) return true;
  return link.wall == (here ? DoorWall(link.site) : DoorWall(site));
}

bool Assignment::OpensToWished(int site) const {
  const std::vector<RoomType>& wished = RulesOf(site).adjacent;
  if (wished.empty()) return true;
  for (const Link& link : At(site).links) {
    if (Contains(wished, static_cast<RoomType>(Type(link.site))) && IsKept(site, link)) return true;
  }
  return false;
}

bool Assignment::IsStoreyWishMet(int site) const {
  switch (RulesOf(site).storeys) {
    case StoreyWish::kGround:
      return At(site).storey == 0;
    case StoreyWish::kUpper:
      return At(site).storey > 0 || storeys_ == 1;
    case StoreyWish::kAny:
      break;
  }
  return true;
}

double Assignment::Local(int site) const {
  double value = kFitWeight * std::abs(std::log(At(site).area / RulesOf(site).area));
  if (!IsStoreyWishMet(site)) value += kStoreyWeight;
  if (!OpensToWished(site)) value += kAdjacentWeight;
  return value;
}

// How far a count is outside [min, max], as rooms.
int Miss(int count, std::optional<int> min, std::optional<int> max) {
  if (min && count < *min) return *min - count;
  if (max && count > *max) return count - *max;
  return 0;
}

std::optional<int> Scaled(std::optional<int> bound, int base, int every) {
  if (!bound) return std::nullopt;
  return CeilDiv(static_cast<long>(base) * *bound, every);
}

double Assignment::CountPenalty() const {
  long misses = 0;
  for (int t = 0; t < kRoomTypeCount; ++t) {
    const RoomTypeRules& rules = programme_.types[static_cast<std::size_t>(t)];
    const int count = count_[static_cast<std::size_t>(t)];
    for (const CountGoal& goal : rules.counts) {
      switch (goal.per) {
        case CountGoal::Per::kBuilding:
          misses += Miss(count, goal.min, goal.max);
          break;
        case CountGoal::Per::kStorey:
          for (int k = 0; k < storeys_; ++k) {
            if (siteOf_[static_cast<std::size_t>(k)].empty() ||
                siteOf_[static_cast<std::size_t>(k)][0] < 0) {
              continue;
            }
            misses += Miss(storeyCount_[static_cast<std::size_t>(k)][static_cast<std::size_t>(t)],
                           goal.min, goal.max);
          }
          break;
        case CountGoal::Per::kType: {
          const int base = count_[static_cast<std::size_t>(goal.perType)];
          misses += Miss(count, Scaled(goal.min, base, goal.every), Scaled(goal.max, base, goal.every));
          break;
        }
      }
    }
  }
  return kCountWeight * static_cast<double>(misses);
}

// A public room may turn private when it need not be public, borders
// another public room, every private neighbour has another public
// neighbour, and the other public rooms of its part stay connected.
bool Assignment::CanBePrivate(int site) const {
  const Site& here = At(site);
  if (here.required) return false;
  int start = -1;
  for (const Link& link : here.links) {
    if (IsPublic(link.site)) {
      start = link.site;
      continue;
    }
    const bool another = std::any_of(At(link.site).links.begin(), At(link.site).links.end(),
                                     [&](const Link& l) { return l.site != site && IsPublic(l.site); });
    if (!another) return false;
  }
  if (start < 0) return false;
  std::vector<int> queue{start};
  std::unordered_map<int, bool> seen{{start, true}, {site, true}};
  for (std::size_t i = 0; i < queue.size(); ++i) {
    for (const Link& link : At(queue[i]).links) {
      if (IsPublic(link.site) && seen.emplace(link.site, true).second) queue.push_back(link.site);
    }
  }
  return static_cast<int>(queue.size()) ==
         componentPublic_[static_cast<std::size_t>(here.component)] - 1;
}

bool Assignment::TryType(int site, int type) {
  const int old = Type(site);
  if (type == old) return false;
  const bool toPrivate = !IsPublicRoomType(static_cast<RoomType>(type));
  if (IsPublic(site) && toPrivate && !CanBePrivate(site)) return false;
  const double before = CountPenalty() + localSum_;
  // The rooms whose door may change: site and its neighbours; the rooms
  // whose goals may change: those and their neighbours.
  ++stampNow_;
  std::vector<int> doors{site};
  std::vector<int> touched{site};
  stamp_[static_cast<std::size_t>(site)] = stampNow_;
  for (const Link& link : At(site).links) {
    if (stamp_[static_cast<std::size_t>(link.site)] == stampNow_) continue;
    stamp_[static_cast<std::size_t>(link.site)] = stampNow_;
    doors.push_back(link.site);
    touched.push_back(link.site);
  }
  for (std::size_t i = 1; i < doors.size(); ++i) {
    for (const Link& link : At(doors[i]).links) {
      if (stamp_[static_cast<std::size_t>(link.site)] == stampNow_) continue;
      stamp_[static_cast<std::size_t>(link.site)] = stampNow_;
      touched.push_back(link.site);
    }
  }
  std::vector<int> oldDoors;
  for (const int s : doors) oldDoors.push_back(door_[static_cast<std::size_t>(s)]);
  std::vector<double> oldLocal;
  for (const int s : touched) oldLocal.push_back(local_[static_cast<std::size_t>(s)]);
  const double oldSum = localSum_;

  SetType(site, type);
  for (const int s : doors) door_[static_cast<std::size_t>(s)] = ChooseDoor(s);
  for (const int s : touched) {
    const double value = Local(s);
    localSum_ += value - local_[static_cast<std::size_t>(s)];
    local_[static_cast<std::size_t>(s)] = value;
  }
  if (CountPenalty() + localSum_ < before - 1e-9) return true;

  SetType(site, old);
  for (std::size_t i = 0; i < doors.size(); ++i) door_[static_cast<std::size_t>(doors[i])] = oldDoors[i];
  for (std::size_t i = 0; i < touched.size(); ++i) local_[static_cast<std::size_t>(touched[i])] = oldLocal[i];
  localSum_ = oldSum;
  return false;
}

void Assignment::Search() {
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    bool improved = false;
    for (std::size_t s = 0; s < sites_.size(); ++s) {
      for (const RoomType type : sites_[s].fits) {
        improved = TryType(static_cast<int>(s), static_cast<int>(type)) || improved;
      }
    }
    if (!improved) return;
  }
}

std::string Assignment::WhyTooFew(RoomType type) const {
  const bool anyFits = std::any_of(sites_.begin(), sites_.end(),
                                   [&](const Site& site) { return Contains(site.fits, type); });
  if (anyFits) return "too few rooms fit it";
  const RoomTypeRules& rules = programme_.Rules(type);
  std::string why = "no room has " + FormatNumber(rules.minArea) + " m2 and " +
                    FormatNumber(rules.minWidth) + " m width";
  return rules.daylight ? why + " with a window" : why;
}

std::string Bounds(const CountGoal& goal) {
  if (goal.min && goal.max) {
    return goal.min == goal.max ? "exactly " + std::to_string(*goal.min)
                                : std::to_string(*goal.min) + " to " + std::to_string(*goal.max);
  }
  return goal.min ? "at least " + std::to_string(*goal.min) : "at most " + std::to_string(*goal.max);
}

void Assignment::AddCountPhrases(RoomType type, std::vector<std::string>& unmet) const {
  const int count = count_[static_cast<std::size_t>(type)];
  const std::string key = TypeKey(type);
  const auto add = [&](int has, std::optional<int> min, std::optional<int> max,
                       const std::string& what) {
    if (Miss(has, min, max) == 0) return;
    const std::string why = min && has < *min ? WhyTooFew(type) : "more rooms than other types take";
    unmet.push_back(key + ": " + what + ", has " + std::to_string(has) + ": " + why);
  };
  for (const CountGoal& goal : programme_.Rules(type).counts) {
    switch (goal.per) {
      case CountGoal::Per::kBuilding:
        add(count, goal.min, goal.max, Bounds(goal) + " in the building");
        break;
      case CountGoal::Per::kStorey:
        for (int k = 0; k < storeys_; ++k) {
          const std::vector<int>& sites = siteOf_[static_cast<std::size_t>(k)];
          if (sites.empty() || sites[0] < 0) continue;
          add(storeyCount_[static_cast<std::size_t>(k)][static_cast<std::size_t>(type)], goal.min,
              goal.max, Bounds(goal) + " on storey " + std::to_string(k));
        }
        break;
      case CountGoal::Per::kType: {
        const int base = count_[static_cast<std::size_t>(goal.perType)];
        const std::optional<int> min = Scaled(goal.min, base, goal.every);
        const std::optional<int> max = Scaled(goal.max, base, goal.every);
        add(count, min, max,
            Bounds(goal) + " per " + std::to_string(goal.every) + " " + TypeKey(goal.perType) +
                ", so " + std::to_string(min ? *min : max.value_or(0)) + " for " +
                std::to_string(base));
        break;
      }
    }
  }
}

TypedBuilding Assignment::Result() const {
  TypedBuilding typed;
  typed.programme = programme_.name;
  std::vector<int> numbered(kRoomTypeCount, 0);
  for (std::size_t k = 0; k < siteOf_.size(); ++k) {
    const std::vector<int>& sites = siteOf_[k];
    std::vector<std::optional<RoomType>>& types = typed.types.emplace_back();
    std::vector<std::string>& names = typed.names.emplace_back();
    for (const int s : sites) {
      if (s < 0) {
        types.emplace_back();
        names.emplace_back();
        continue;
      }
      const auto type = static_cast<RoomType>(Type(s));
      types.push_back(type);
      std::string name = GetRoomTypeName(type);
      const auto t = static_cast<std::size_t>(type);
      if (count_[t] > 1) name += " " + std::to_string(++numbered[t]);
      names.push_back(std::move(name));
    }
  }
  typed.doorKept.resize(siteOf_.size());
  for (std::size_t s = 0; s < sites_.size(); ++s) {
    const Site& site = sites_[s];
    std::vector<bool>& kept = typed.doorKept[static_cast<std::size_t>(site.storey)];
    for (const Link& link : site.links) {
      const auto wall = static_cast<std::size_t>(link.wall);
      if (kept.size() <= wall) kept.resize(wall + 1, true);
      if (!IsKept(static_cast<int>(s), link)) kept[wall] = false;
    }
  }
  for (int t = 0; t < kRoomTypeCount; ++t) {
    const auto type = static_cast<RoomType>(t);
    if (!programme_.Rules(type).used) continue;
    AddCountPhrases(type, typed.unmet);
    int offStorey = 0;
    int closed = 0;
    for (std::size_t s = 0; s < sites_.size(); ++s) {
      if (Type(static_cast<int>(s)) != t) continue;
      offStorey += IsStoreyWishMet(static_cast<int>(s)) ? 0 : 1;
      closed += OpensToWished(static_cast<int>(s)) ? 0 : 1;
    }
    const std::string key = TypeKey(type);
    if (offStorey > 0) {
      const bool ground = programme_.Rules(type).storeys == StoreyWish::kGround;
      typed.unmet.push_back(key + ": wished " + (ground ? "on" : "above") + " the ground storey, " +
                            std::to_string(offStorey) + " not");
    }
    if (closed > 0) {
      std::string wished;
      for (const RoomType other : programme_.Rules(type).adjacent) {
        wished += (wished.empty() ? "" : " or ") + TypeKey(other);
      }
      typed.unmet.push_back(key + ": wished to open to " + wished + ", " + std::to_string(closed) +
                            " not");
    }
  }
  return typed;
}

}  // namespace

TypedBuilding ApplyProgramme(const TList<CFloor>& floors, const FinishedBuilding& finished,
                             const Programme& programme, float unit) {
  Assignment assignment(floors, finished, programme, unit);
  assignment.Search();
  TypedBuilding typed = assignment.Result();
  typed.unit = unit;
  if (std::find(finished.complete.begin(), finished.complete.end(), true) == finished.complete.end()) {
    typed.unmet = {"no room typed: no storey is complete"};
  }
  for (std::size_t k = 0; k < typed.doorKept.size(); ++k) {
    typed.doorKept[k].resize(static_cast<std::size_t>(floors[static_cast<int>(k)].walls.GetSize()), true);
  }
  return typed;
}

}  // namespace quarn
