// The known causes as one table. Each row looks at one error message, the
// line of the user's file it is placed on, and the header's facts, and adds
// its explanation when they match. A message that no row matches is shown as
// the compiler gives it, unexplained.
#include "explanations.h"

#include <algorithm>
#include <string_view>

#include "gallery_messages.h"
#include "glsl/body_words.h"
#include "params/input_rules.h"

namespace gallery {
namespace {

// `word` occurs in `text` with no identifier character on either side, as
// the converter finds its words.
bool mentions(std::string_view text, const std::string& word) {
  return glsl::word_uses(text, {word})[0].used;
}

// The converter's own reading of a TYPE: the rule it applies, if any.
bool has_no_rule(const std::string& type) { return params::input_rule(type) == nullptr; }

bool mentions_any(std::string_view text, const std::vector<std::string>& words) {
  for (const glsl::WordUse& use : glsl::word_uses(text, words))
    if (use.used) return true;
  return false;
}

bool contains_any(std::string_view text, std::initializer_list<std::string_view> parts) {
  return std::any_of(parts.begin(), parts.end(), [&](std::string_view part) {
    return text.find(part) != std::string_view::npos;
  });
}

// What a row looks at: the message, its line of the .fs file (empty when it
// is placed elsewhere), and the shader.
struct Clue {
  const CompilerMessage& message;
  std::string_view fs_line;
  const ShaderEntry& entry;
};

using Explain = void (*)(const Clue& clue, std::vector<std::string>& out);

void unsupported_type(const Clue& clue, std::vector<std::string>& out) {
  for (const HeaderInput& input : clue.entry.header.inputs)
    if (!input.type.empty() && has_no_rule(input.type) &&
        mentions(clue.message.text, input.name))
      out.push_back(messages::unsupported_input_type(input.name, input.type));
}

// A name of the code that is no input and that nothing declares. Inputs of
// types the host does not provide have their own row.
void undeclared_name(const Clue& clue, std::vector<std::string>& out) {
  const std::string& text = clue.message.text;
  const std::string_view suffix = "' undeclared";
  if (text.size() <= suffix.size() + 1 || text[0] != '`' ||
      text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0)
    return;
  const std::string name = text.substr(1, text.size() - suffix.size() - 1);
  for (const HeaderInput& input : clue.entry.header.inputs)
    if (input.name == name) return;
  out.push_back(messages::undeclared_name(name));
}

// An input named like one of the host's uniforms is declared twice.
void host_uniform_name(const Clue& clue, std::vector<std::string>& out) {
  if (clue.message.text.find("redeclared") == std::string::npos) return;
  for (const HeaderInput& input : clue.entry.header.inputs)
    if (mentions(clue.message.text, input.name)) out.push_back(messages::host_uniform_name(input.name));
}

void int_compared_with_float(const Clue& clue, std::vector<std::string>& out) {
  if (clue.message.text.find("must have the same type") != std::string::npos)
    out.push_back(messages::newer_glsl_mixed_comparison());
}

void condition_not_bool(const Clue& clue, std::vector<std::string>& out) {
  if (contains_any(clue.message.text, {"must be scalar boolean", "must be a scalar boolean",
                                       "must be boolean"}))
    out.push_back(messages::condition_not_bool());
}

void int_to_float(const Clue& clue, std::vector<std::string>& out) {
  if (contains_any(clue.message.text,
                   {"implicitly convert", "of type int cannot be assigned", "wrong type int"}))
    out.push_back(messages::newer_glsl_int_to_float());
}

void precision_qualifier(const Clue& clue, std::vector<std::string>& out) {
  if (mentions_any(clue.fs_line, {"precision", "highp", "mediump", "lowp"}))
    out.push_back(messages::newer_glsl_precision());
}

void unsigned_integer(const Clue& clue, std::vector<std::string>& out) {
  if (mentions_any(clue.fs_line, {"uint", "uvec2", "uvec3", "uvec4"}))
    out.push_back(messages::newer_glsl_unsigned());
}

void array_constructor(const Clue& clue, std::vector<std::string>& out) {
  if (clue.message.text.find("array constructors") != std::string::npos)
    out.push_back(messages::newer_glsl_array_constructor());
}

const Explain known_causes[] = {
    unsupported_type,    undeclared_name,     host_uniform_name,
    int_to_float,        int_compared_with_float, condition_not_bool,
    precision_qualifier, unsigned_integer,    array_constructor,
};

// The lines of the shader file, without their line ends.
std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::vector<std::string> explain_failure(const ShaderEntry& entry) {
  std::vector<std::string_view> lines = split_lines(entry.fs_text);
  std::vector<std::string> explanations;
  for (const CompilerMessage& message : entry.messages) {
    if (message.severity != "error") continue;
    std::string_view fs_line;
    int at = message.place.fs_line;
    if (message.frag_line > 0 && message.place.origin == LineOrigin::shader && at >= 1 &&
        static_cast<std::size_t>(at) <= lines.size())
      fs_line = lines[static_cast<std::size_t>(at) - 1];
    std::vector<std::string> found;
    for (Explain explain : known_causes) explain(Clue{message, fs_line, entry}, found);
    for (std::string& text : found)
      if (std::find(explanations.begin(), explanations.end(), text) == explanations.end())
        explanations.push_back(std::move(text));
  }
  return explanations;
}

}  // namespace gallery
