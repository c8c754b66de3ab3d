// Where the calls of one ISF image macro stand in a body and how the argument
// splitter cuts each of them, worked out for all calls at once in a few
// passes over the text, so that checking every call costs linear time.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "glsl/calls/split_call_arguments.h"
#include "glsl/text/position_set.h"

namespace glsl {

struct MacroCall {
  std::size_t name_at;         // first character of the macro name
  std::size_t close;           // the ")" that ends the call, or the text's end
  bool first_matches;          // the first argument equals the image name (or none is given)
  // The rest is known only when first_matches holds.
  std::size_t argument_count;  // as split, or some count above the expected one
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

  std::size_t size() const { return calls_.size(); }
  std::size_t name_at(std::size_t i) const { return calls_[i].name; }
  MacroCall call(std::size_t i) const;

 private:
  void find_calls(std::string_view macro_name);
  void match_parentheses();
  void find_argument_starts();
  void split_image_lists(std::string_view image_name);

  std::string_view text_;
  std::size_t cap_;  // comma counts stop here: more cannot change the verdict
  std::size_t image_length_;

  // One entry per call, in text order.
  struct Call {
    Offset name;
    Offset open;  // its "(" (several calls may share one)
  };
  std::vector<Call> calls_;

  // One entry per distinct "(", indexed by rank in open_set_.
  struct Open {
    Offset close;
    Offset start;  // where the splitter begins, past comments
  };
  PositionSet<Offset> open_set_;
  std::vector<Open> opens_;

  PositionSet<Offset> start_set_;  // every splitter start

  // The splits of the lists at which the image name stands, by rank in
  // split_set_.
  PositionSet<Offset> split_set_;
  std::vector<ArgumentList<Offset>> lists_;
};

}  // namespace glsl
