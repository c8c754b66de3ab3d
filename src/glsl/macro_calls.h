// Where the calls of one ISF image macro stand in a body and how the argument
// splitter cuts each of them, worked out for all calls at once in a few
// passes over the text, so that checking every call costs linear time.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "glsl/position_set.h"

namespace glsl {

struct MacroCall {
  std::size_t name_at;         // first character of the macro name
  std::size_t close;           // the ")" that ends the call, or the text's end
  std::size_t argument_count;  // as split, or some count above the expected one
  bool first_matches;          // the first argument equals the image name (or none is given)
  std::size_t first_begin;     // first argument: [first_begin, first_end)
  std::size_t first_end;
  std::size_t first_comma;     // the comma after the first argument, when there is one
  std::size_t second_end;      // second argument: up to here from after first_comma
};

// Offset is the integer type of stored positions: 32 bits halve the memory
// for any body under 4 GB.
template <class Offset>
class MacroCalls {
 public:
  // `text` ends at its first NUL already. A call is a whole-word occurrence
  // of `macro_name` followed, after white space and comments, by "(".
  MacroCalls(std::string_view text, std::string_view macro_name, std::string_view image_name,
             std::size_t expected);

  std::size_t size() const { return names_.size(); }
  std::size_t name_at(std::size_t i) const { return names_[i]; }
  MacroCall call(std::size_t i) const;

 private:
  void find_calls(std::string_view macro_name);
  void match_parentheses();
  void find_argument_starts();
  void split_arguments(std::string_view image_name);

  std::string_view text_;
  std::size_t cap_;  // comma counts stop here: more cannot change the verdict
  std::size_t image_length_;

  // One entry per call, in text order.
  std::vector<Offset> names_;
  std::vector<Offset> opens_;  // its "(" (several calls may share one)

  // One entry per distinct "(", indexed by rank in open_set_.
  PositionSet<Offset> open_set_;
  std::vector<Offset> closes_;
  std::vector<Offset> starts_;  // where the splitter begins, past comments

  // One entry per distinct splitter start, indexed by rank in start_set_.
  PositionSet<Offset> start_set_;
  std::vector<Offset> split_end_;   // the ")" that ends the argument list, or the end
  std::vector<Offset> comma1_;
  std::vector<Offset> comma2_;
  std::vector<Offset> last_comma_;
  std::vector<Offset> commas_;      // top-level commas, at most cap_
  std::vector<char> image_at_start_;
  std::vector<char> last_empty_;
};

}  // namespace glsl
