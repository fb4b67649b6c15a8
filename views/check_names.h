// The names a mission declares, as the mission check looks them up: exactly,
// and with the case of A-Z ignored (as the engine compares names).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "base/text.h"
#include "views/check.h"

namespace views {

inline char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

struct FoldHash {
  std::size_t operator()(mission::TextView text) const {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (const char16_t c : text) h = (h ^ FoldAscii(c)) * 1099511628211ull;
    h ^= h >> 29;  // spreads the last characters into the low bits, which pick the slot
    h *= 0xBF58476D1CE4E5B9ull;
    return static_cast<std::size_t>(h ^ (h >> 32));
  }
};

struct FoldEqual {
  bool operator()(mission::TextView a, mission::TextView b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
  }
};

// The names of one kind. The texts are views into the mission's text.
//
// Each name is held once per spelling ignoring case, with its first
// spelling; the rare further spellings of the same name ("Intro", "intro")
// are kept aside. The table is open-addressed with each slot holding part of
// its name's hash: a large mission looks up hundreds of thousands of names,
// and a node-based table spent most of the check's time on cache misses.
class NameSet {
 public:
  struct Entry {
    mission::TextView name;
    std::uint32_t line = 0;
  };

  void Reserve(std::size_t count) {
    if (count * 2 > slots_.size()) Rehash(count * 2);
  }

  // Adds a name declared on `line`. Returns the first entry whose name is the
  // same when case is ignored, or nullptr when the name is new.
  const Entry* Add(mission::TextView name, std::uint32_t line) {
    Reserve(groups_.size() + 1);
    const std::uint64_t hash = FoldHash{}(name);
    Slot& slot = slots_[Probe(name, hash)];
    if (slot.group == 0) {
      groups_.push_back({{name, line}, false});
      slot = {static_cast<std::uint32_t>(groups_.size()), static_cast<std::uint32_t>(hash >> 32)};
      return nullptr;
    }
    Group& group = groups_[slot.group - 1];
    if (group.first.name != name) {
      spellings_.insert(name);
      group.spellings = true;
    }
    return &group.first;
  }

  // The first entry whose name is the same when case is ignored; nullptr
  // when there is none.
  const Entry* First(mission::TextView name) const {
    if (groups_.empty()) return nullptr;
    const Slot& slot = slots_[Probe(name, FoldHash{}(name))];
    return slot.group == 0 ? nullptr : &groups_[slot.group - 1].first;
  }

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // The names held, each once ignoring case, in the order they were added.
  std::size_t Size() const { return groups_.size(); }
  const Entry& At(std::size_t index) const { return groups_[index].first; }
  // The place of the name that is the same when case is ignored; kNone when
  // there is none.
  std::size_t IndexOf(mission::TextView name) const {
    if (groups_.empty()) return kNone;
    const Slot& slot = slots_[Probe(name, FoldHash{}(name))];
    return slot.group == 0 ? kNone : slot.group - 1;
  }

  enum class How { kNone, kExact, kIgnoringCase };
  struct Match {
    How how = How::kNone;
    mission::TextView name;  // kIgnoringCase: the first declared name that matches
    NameKind kind = NameKind::kEvent;  // the kind of that name (MissionNames::Find)
  };
  Match Find(mission::TextView name) const {
    if (groups_.empty()) return {};
    const Slot& slot = slots_[Probe(name, FoldHash{}(name))];
    if (slot.group == 0) return {};
    const Group& group = groups_[slot.group - 1];
    if (group.first.name == name || (group.spellings && spellings_.contains(name))) return {How::kExact, name};
    return {How::kIgnoringCase, group.first.name};
  }

 private:
  struct Group {
    Entry first;
    bool spellings = false;  // another spelling of the name was declared
  };
  struct Slot {
    std::uint32_t group = 0;  // 1-based index into groups_; 0: empty
    std::uint32_t hash = 0;   // the upper half of the name's hash
  };

  // The slot that holds the name, or the empty slot where it belongs.
  std::size_t Probe(mission::TextView name, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const auto upper = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.group == 0) return i;
      if (slot.hash == upper && FoldEqual{}(groups_[slot.group - 1].first.name, name)) return i;
    }
  }

  void Rehash(std::size_t wanted) {
    std::size_t size = 16;
    while (size < wanted) size *= 2;
    slots_.assign(size, Slot{});
    for (std::size_t g = 0; g < groups_.size(); ++g) {
      const std::uint64_t hash = FoldHash{}(groups_[g].first.name);
      std::size_t i = static_cast<std::size_t>(hash) & (size - 1);
      while (slots_[i].group != 0) i = (i + 1) & (size - 1);
      slots_[i] = {static_cast<std::uint32_t>(g + 1), static_cast<std::uint32_t>(hash >> 32)};
    }
  }

  std::vector<Group> groups_;
  std::vector<Slot> slots_ = std::vector<Slot>(16);
  std::unordered_set<mission::TextView> spellings_;  // every spelling but the first of its group
};

// The names of every kind in one mission.
class MissionNames {
 public:
  NameSet& Of(NameKind kind) { return sets_[static_cast<std::size_t>(kind)]; }
  const NameSet& Of(NameKind kind) const { return sets_[static_cast<std::size_t>(kind)]; }

  // A ship-or-wing argument may name either; an exact name of one kind wins
  // over a match ignoring case of the other.
  NameSet::Match Find(NameKind kind, mission::TextView name) const {
    if (kind != NameKind::kShipOrWing) return Tagged(Of(kind).Find(name), kind);
    const NameSet::Match ship = Tagged(Of(NameKind::kShip).Find(name), NameKind::kShip);
    if (ship.how == NameSet::How::kExact) return ship;
    const NameSet::Match wing = Tagged(Of(NameKind::kWing).Find(name), NameKind::kWing);
    if (wing.how == NameSet::How::kExact) return wing;
    return ship.how != NameSet::How::kNone ? ship : wing;
  }

 private:
  static NameSet::Match Tagged(NameSet::Match match, NameKind kind) {
    match.kind = kind;
    return match;
  }

  std::array<NameSet, 7> sets_;
};

}  // namespace views
