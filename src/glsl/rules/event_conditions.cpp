// ISF events are booleans; the host hands them over as ints, which GLSL will
// not take as a condition. An event that the body tests as a condition (and
// does not declare itself) is compared with 0 wherever it is named, in one
// reading of the body whatever the number of events.
#include <unordered_map>

#include "glsl/text/body_text.h"
#include "glsl/text/body_words.h"
#include "glsl/text/chars.h"
#include "glsl/renaming/tokens.h"

namespace glsl {
namespace {

template <class Out>
void write_tested(Out& out, std::string_view body,
                  const std::unordered_map<std::string_view, std::string>& tests) {
  std::size_t copied = 0;
  for_each_token(body, [&](std::size_t at, std::size_t end) {
    if (!is_identifier_char(body[at])) return;
    auto found = tests.find(body.substr(at, end - at));
    if (found == tests.end()) return;
    put_copy(out, body, copied, at);
    put_made_for(out, found->second, at);
    copied = end;
  });
  put_copy(out, body, copied, body.size());
}

}  // namespace

void BodyText::test_events(const std::vector<std::string>& events) {
  if (events.empty()) return;
  end_at_nul();
  const std::vector<WordUse> uses = word_uses(text_, events);
  std::unordered_map<std::string_view, std::string> tests;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const std::string& name = events[i];
    if (!uses[i].condition || uses[i].declared || !is_name_start_char(name[0])) continue;
    tests.emplace(name, "(" + name + " != 0)");
  }
  if (tests.empty()) return;
  const std::string_view body = text_;
  rewrite([&](auto& out) {
    out.reserve(room_for_rewrite(body.size()));
    write_tested(out, body, tests);
    return true;
  });
}

}  // namespace glsl
