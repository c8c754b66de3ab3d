// Where each line of a rewritten body came from: the 0-based line of the
// original body that holds its first character, so that a compiler's message
// about the converted text can point at the line the user wrote.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glsl {

// The line map's entry for a line the converter wrote itself (the prologue).
constexpr std::size_t kGeneratedLine = std::numeric_limits<std::size_t>::max();

// Follows the characters of a body through a chain of rewrites. Each rewrite
// reports its output piece by piece, in order: stretches copied from its
// input, and text made in place of some input (a macro call, a name), which
// counts as coming from the line where that input starts.
class LineTracker {
 public:
  explicit LineTracker(std::string_view body);

  void copy(std::size_t out_at, std::size_t in_begin, std::size_t in_end);
  void made_for(std::size_t out_at, std::size_t length, std::size_t in_at);
  void made_new(std::size_t out_at, std::size_t length);
  // The rewrite's output becomes the input of the next one, or is dropped.
  void commit();
  void discard() { next_.clear(); }

  // A tracker for the stretch [begin, end) of the current text alone, to be
  // rewritten on its own and then pasted at `out_at` of the output.
  LineTracker slice(std::size_t begin, std::size_t end) const;
  void paste(const LineTracker& part, std::size_t out_at);

  // One entry per line of `text`, the body after the last rewrite; lines end
  // at "\n", and the empty piece after a final "\n" is a line too.
  std::vector<std::size_t> lines_of(std::string_view text) const;

 private:
  // From `at` on, characters come from `line` (until the next mark).
  struct Mark {
    std::size_t at;
    std::size_t line;
  };
  LineTracker() = default;
  std::size_t line_at(std::size_t in_at) const;
  void mark(std::size_t out_at, std::size_t line);

  std::vector<Mark> marks_;
  std::vector<Mark> next_;
  std::size_t last_line_ = 0;  // of the original body's end
};

// An output string that reports each piece it takes to a LineTracker.
struct TrackedOutput {
  std::string& text;
  LineTracker& lines;
  void reserve(std::size_t size) { text.reserve(size); }
};

// The rewrites write through these, so that one writer serves the plain
// output, the measuring walk and the tracked output.
template <class Out>
void put_copy(Out& out, std::string_view in, std::size_t begin, std::size_t end) {
  out += in.substr(begin, end - begin);
}
template <class Out>
void put_made_for(Out& out, std::string_view made, std::size_t /*in_at*/) {
  out += made;
}
// Text that stands for nothing of the input (the prologue).
template <class Out>
void put_made_new(Out& out, std::string_view made) {
  out += made;
}
// A stretch of the input rewritten on its own, with the tracker that
// LineTracker::slice gave it (nullptr when lines are not tracked).
template <class Out>
void put_part(Out& out, std::string_view part, const LineTracker* /*part_lines*/) {
  out += part;
}

inline void put_copy(TrackedOutput& out, std::string_view in, std::size_t begin, std::size_t end) {
  out.lines.copy(out.text.size(), begin, end);
  out.text.append(in, begin, end - begin);
}
inline void put_made_for(TrackedOutput& out, std::string_view made, std::size_t in_at) {
  out.lines.made_for(out.text.size(), made.size(), in_at);
  out.text += made;
}
inline void put_made_new(TrackedOutput& out, std::string_view made) {
  out.lines.made_new(out.text.size(), made.size());
  out.text += made;
}
inline void put_part(TrackedOutput& out, std::string_view part, const LineTracker* part_lines) {
  out.lines.paste(*part_lines, out.text.size());
  out.text += part;
}

// The tracker for the stretch [begin, end) of the input, to be rewritten on
// its own and written back through put_part; none for a plain output.
template <class Out>
std::optional<LineTracker> lines_of_part(const Out& /*out*/, std::size_t /*begin*/, std::size_t /*end*/) {
  return std::nullopt;
}
inline std::optional<LineTracker> lines_of_part(const TrackedOutput& out, std::size_t begin,
                                                std::size_t end) {
  return out.lines.slice(begin, end);
}

}  // namespace glsl
