// The line tracker keeps, for the current body, the positions where the
// original line of its characters changes; a rewrite maps those positions
// through its copied stretches and adds one for each piece of made text.
// Only a conversion that asks for the line map pays for it.
//
// Example: for the body "a;\nIMG_SIZE(i);" the marks are (0, line 0) and
// (3, line 1). Rewriting the call to "resolution_tex0" copies "a;\n", marks
// the made text at 3 as line 1 (where the call started) and copies ";"
// after it at 18, which is still line 1: the marks stay (0, 0) and (3, 1).
#include "glsl/text/line_map.h"

#include <algorithm>
#include <iterator>

namespace glsl {

LineTracker::LineTracker(std::string_view body) {
  body = body.substr(0, body.find('\0'));
  marks_.push_back({0, 0});
  for (std::size_t at = 0; at < body.size(); ++at) {
    if (body[at] == '\n') marks_.push_back({at + 1, ++last_line_});
  }
}

std::size_t LineTracker::line_at(std::size_t in_at) const {
  const auto after = std::upper_bound(marks_.begin(), marks_.end(), in_at,
                                      [](std::size_t at, const Mark& m) { return at < m.at; });
  return std::prev(after)->line;
}

void LineTracker::mark(std::size_t out_at, std::size_t line) {
  if (!next_.empty() && next_.back().at == out_at) next_.pop_back();
  if (!next_.empty() && next_.back().line == line) return;
  next_.push_back({out_at, line});
}

void LineTracker::copy(std::size_t out_at, std::size_t in_begin, std::size_t in_end) {
  if (in_begin >= in_end) return;
  mark(out_at, line_at(in_begin));
  auto m = std::upper_bound(marks_.begin(), marks_.end(), in_begin,
                            [](std::size_t at, const Mark& k) { return at < k.at; });
  for (; m != marks_.end() && m->at < in_end; ++m) mark(out_at + (m->at - in_begin), m->line);
}

void LineTracker::made_for(std::size_t out_at, std::size_t length, std::size_t in_at) {
  if (length > 0) mark(out_at, line_at(in_at));
}

void LineTracker::made_new(std::size_t out_at, std::size_t length) {
  if (length > 0) mark(out_at, kGeneratedLine);
}

void LineTracker::commit() {
  if (next_.empty()) next_.push_back({0, last_line_});
  marks_.swap(next_);
  next_.clear();
}

LineTracker LineTracker::slice(std::size_t begin, std::size_t end) const {
  LineTracker part;
  part.marks_.push_back({0, line_at(begin)});
  auto m = std::upper_bound(marks_.begin(), marks_.end(), begin,
                            [](std::size_t at, const Mark& k) { return at < k.at; });
  for (; m != marks_.end() && m->at < end; ++m) part.marks_.push_back({m->at - begin, m->line});
  part.last_line_ = line_at(end);
  return part;
}

void LineTracker::paste(const LineTracker& part, std::size_t out_at) {
  for (const Mark& m : part.marks_) mark(out_at + m.at, m.line);
}

std::vector<std::size_t> LineTracker::lines_of(std::string_view text) const {
  std::vector<std::size_t> lines;
  std::size_t m = 0;
  for (std::size_t start = 0;;) {
    if (start == text.size()) {
      lines.push_back(last_line_);
      break;
    }
    while (m + 1 < marks_.size() && marks_[m + 1].at <= start) ++m;
    lines.push_back(marks_[m].line);
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace glsl
