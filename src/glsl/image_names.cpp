// Renames the image inputs to their samplers in time linear in the body.
//
// Read literally, each image's name is replaced by its sampler over the whole
// body, one image after another in the table's order. A name that can match
// starts with a letter or '_', and a match stands between characters that
// are not identifier characters: it covers whole identifiers, and a sampler
// (an identifier) written in its place is a whole identifier again, with
// neighbours that still are, or are not, identifier characters. So while no
// name holds an earlier name's sampler as one of its identifiers, a name
// matches only where it matched in the text as it was, over characters that
// no earlier name replaced. The names that match at one place are prefixes
// of each other; the shortest sorts first and decides the place: when it is
// not taken, a character it covers was taken before, and the longer names
// cover that character too. One reading (an Aho-Corasick automaton of the
// reversed names, run from the end) finds the shortest name matching at each
// place; the places are then taken name by name, left to right, unless they
// overlap one taken already (when every name of a run is an identifier, the
// places are simply the identifiers that are names: a faster reading). A
// name that is exactly an earlier name's sampler renames that sampler again:
// the written sampler is the end of the chain. A name holding an earlier
// sampler among other characters starts a new reading of the text as it
// then is.
#include "glsl/body_text.h"

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "glsl/chars.h"
#include "glsl/line_map.h"
#include "glsl/names_present.h"
#include "glsl/shortest_names.h"

namespace glsl {
namespace {

bool is_identifier(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!is_identifier_char(c)) return false;
  }
  return true;
}

using Entry = ImageEntry;

struct Place {
  std::size_t begin, end;
  std::uint32_t name;
};

// The places a run of identifier names takes: every identifier that is one
// of them (a fast path, as names that are identifiers cannot overlap).
using NameIndex = std::unordered_map<std::string_view, std::uint32_t>;

std::vector<Place> identifier_places(std::string_view text, const std::vector<const Entry*>& run,
                                     const NameIndex& index) {
  bool starts[256] = {};
  std::size_t longest = 0;
  for (const Entry* entry : run) {
    starts[static_cast<unsigned char>(entry->first[0])] = true;
    longest = std::max(longest, entry->first.size());
  }
  std::vector<Place> places;
  const std::size_t n = text.size();
  for (std::size_t at = 0; at < n;) {
    if (!is_identifier_char(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at + 1;
    while (end < n && is_identifier_char(text[end])) ++end;
    if (starts[static_cast<unsigned char>(text[at])] && end - at <= longest) {
      const auto found = index.find(text.substr(at, end - at));
      if (found != index.end()) places.push_back({at, end, found->second});
    }
    at = end;
  }
  return places;
}

// The places a run of any names takes, in text order: the shortest name
// matching at each place, taken name by name unless it overlaps a place
// taken before.
std::vector<Place> name_places(std::string_view text, const std::vector<const Entry*>& run) {
  const std::vector<std::pair<std::size_t, std::uint32_t>> found = ShortestNames(run).matches(text);
  // The places by name, each name's from left to right (`found` runs from the
  // end back).
  std::vector<std::size_t> first(run.size() + 1, 0);
  for (const auto& match : found) ++first[match.second + 1];
  for (std::size_t i = 0; i < run.size(); ++i) first[i + 1] += first[i];
  std::vector<std::size_t> by_name(found.size());
  for (std::size_t k = found.size(); k-- > 0;) by_name[first[found[k].second]++] = found[k].first;
  // `first` now holds where each name's places end; its places run from the
  // previous name's end.
  std::map<std::size_t, std::pair<std::size_t, std::uint32_t>> taken;  // begin -> (end, name)
  std::size_t k = 0;
  for (std::uint32_t name = 0; name < run.size(); ++name) {
    const std::size_t length = run[name]->first.size();
    for (; k < first[name]; ++k) {
      const std::size_t begin = by_name[k], end = begin + length;
      auto after = taken.lower_bound(end);
      if (after != taken.begin() && std::prev(after)->second.first > begin) continue;
      taken.emplace_hint(after, begin, std::make_pair(end, name));
    }
  }
  std::vector<Place> places;
  places.reserve(taken.size());
  for (const auto& [begin, place] : taken) places.push_back({begin, place.first, place.second});
  return places;
}

// Renames a run of names (in table order, none holding an earlier one's
// sampler among other characters) in one reading; true when something
// changed.
bool rename_run(std::string& body, const std::vector<const Entry*>& run, bool identifiers_only,
                std::string& spare, LineTracker* lines) {
  const std::string_view text = body;
  // Where each name's sampler ends up: renamed again by a later name.
  NameIndex index;
  for (std::uint32_t i = 0; i < run.size(); ++i) index.emplace(run[i]->first, i);
  std::vector<std::string_view> final_name(run.size());
  for (std::uint32_t i = static_cast<std::uint32_t>(run.size()); i-- > 0;) {
    final_name[i] = run[i]->second;
    const auto later = index.find(run[i]->second);
    if (later != index.end() && later->second > i) final_name[i] = final_name[later->second];
  }
  const std::vector<Place> places =
      identifiers_only ? identifier_places(text, run, index) : name_places(text, run);
  if (places.empty()) return false;

  const auto write = [&](auto& out) {
    std::size_t copied = 0;
    for (const Place& place : places) {
      put_copy(out, text, copied, place.begin);
      put_made_for(out, final_name[place.name], place.begin);
      copied = place.end;
    }
    put_copy(out, text, copied, text.size());
  };
  spare.clear();
  spare.reserve(room_for_rewrite(text.size()));
  if (lines == nullptr) {
    write(spare);
  } else {
    TrackedOutput out{spare, *lines};
    write(out);
    lines->commit();
  }
  body.swap(spare);
  return true;
}

// The identifiers of a name, when it is not one itself.
template <class Each>
void for_each_identifier(std::string_view name, const Each& each) {
  for (std::size_t at = 0; at < name.size();) {
    if (!is_identifier_char(name[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < name.size() && is_identifier_char(name[end])) ++end;
    each(name.substr(at, end - at));
    at = end;
  }
}

}  // namespace

void BodyText::rename_images(const std::map<std::string, std::string>& image_table) {
  end_at_nul();
  std::vector<std::string_view> names;  // the whole table's, for NamesPresent
  for (const Entry& entry : image_table) names.push_back(entry.first);
  std::optional<NamesPresent> automaton;

  std::vector<std::pair<std::uint32_t, const Entry*>> run;  // (place in the table, entry)
  bool identifiers_only = true;
  std::unordered_set<std::string_view> samplers;  // of the run so far
  // Once a name of the run holds an earlier sampler: the table's names that
  // occur in the text as the run found it, and the samplers of the names
  // that can take a place (that occur, or that an earlier active sampler is).
  bool activity_known = false;
  std::vector<std::uint32_t> present;
  std::unordered_set<std::string_view> active;
  const auto note_activity = [&](std::uint32_t place, const Entry& entry) {
    if (std::binary_search(present.begin(), present.end(), place) || active.count(entry.first) > 0) {
      active.insert(entry.second);
    }
  };
  // Reading the names pays only when it spares many runs (it costs about
  // what a dozen single-name readings cost): after a reading that spared
  // fewer, the next waits for twice as many new runs as the last.
  std::size_t spared = 0, runs_since_reading = 0, wait = 0;
  const auto flush = [&] {
    std::vector<const Entry*> entries;
    for (const auto& member : run) entries.push_back(member.second);
    if (entries.size() == 1) {
      replace_whole_word(entries[0]->first, entries[0]->second);
    } else if (!entries.empty()) {
      rename_run(text_, entries, identifiers_only, spare_, tracker());
    }
    run.clear();
    identifiers_only = true;
    samplers.clear();
    activity_known = false;
    active.clear();
  };
  std::uint32_t place = 0;
  for (const Entry& entry : image_table) {
    const std::uint32_t at = place++;
    const std::string& name = entry.first;
    // A name that cannot start an identifier is never replaced.
    if (name.empty() || !is_name_start_char(name[0])) continue;
    if (!is_identifier(entry.second)) {
      flush();
      replace_whole_word(name, entry.second);
      continue;
    }
    if (!is_identifier(name)) {
      bool holds_sampler = false;
      for_each_identifier(name, [&](std::string_view word) {
        holds_sampler = holds_sampler || samplers.count(word) > 0;
      });
      if (holds_sampler && !activity_known && runs_since_reading >= wait) {
        if (!automaton) automaton.emplace(names);
        spared = runs_since_reading = 0;
        present = automaton->in(text_);
        for (const auto& member : run) note_activity(member.first, *member.second);
        activity_known = true;
      }
      // A sampler that no name of the run can write is never in the text.
      bool holds_active = holds_sampler && !activity_known;
      if (holds_sampler && activity_known) {
        for_each_identifier(name, [&](std::string_view word) {
          holds_active = holds_active || active.count(word) > 0;
        });
      }
      if (holds_active) {
        if (activity_known) wait = spared >= 16 ? 0 : 2 * wait + 1;
        ++runs_since_reading;
        flush();
      } else if (holds_sampler) {
        ++spared;
      }
      identifiers_only = false;
    }
    run.emplace_back(at, &entry);
    samplers.insert(entry.second);
    if (activity_known) note_activity(at, entry);
  }
  flush();
}

}  // namespace glsl
