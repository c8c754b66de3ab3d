// The known causes as one table. Each row looks at one error message, the
// line of the user's file it is placed on, and the header's facts, and adds
// its explanation when they match. A message that no row matches is shown as
// the compiler gives it, unexplained. The header's names are looked up by the
// words of a message, never matched one by one against it, so explaining
// takes time linear in the messages and the inputs together.
#include "explanations.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "compiler_lines.h"
#include "gallery_messages.h"
#include "glsl/text/chars.h"
#include "params/input_rules.h"

namespace gallery {
namespace {

using glsl::is_identifier_char;

// The converter's own reading of a TYPE: the rule it applies, if any.
bool has_no_rule(const std::string& type) { return params::input_rule(type) == nullptr; }

bool contains_any(std::string_view text, std::initializer_list<std::string_view> parts) {
  return std::any_of(parts.begin(), parts.end(), [&](std::string_view part) {
    return text.find(part) != std::string_view::npos;
  });
}

// The identifiers of a text (maximal runs of identifier characters), each
// once: as a list in order of appearance, and as a set.
struct Words {
  std::vector<std::string_view> list;
  std::unordered_set<std::string_view> set;
  bool has_any(std::initializer_list<std::string_view> words) const {
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view word) { return set.count(word) > 0; });
  }
};

Words words_of(std::string_view text) {
  Words words;
  for (std::size_t at = 0; at < text.size();) {
    if (!is_identifier_char(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && is_identifier_char(text[end])) ++end;
    std::string_view word = text.substr(at, end - at);
    if (words.set.insert(word).second) words.list.push_back(word);
    at = end;
  }
  return words;
}

// Positions in a list of names, by name.
using NameIndex = std::unordered_map<std::string_view, std::vector<std::size_t>>;

// The positions of the names that are words of the text, in list order.
std::vector<std::size_t> named_in(const NameIndex& index, const Words& words) {
  std::vector<std::size_t> found;
  for (std::string_view word : words.list) {
    auto hit = index.find(word);
    if (hit != index.end()) found.insert(found.end(), hit->second.begin(), hit->second.end());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// The shader's side of the clues, built once per shader.
struct ShaderIndex {
  NameIndex inputs;  // header.inputs by name
};

ShaderIndex index_shader(const HeaderFacts& header) {
  ShaderIndex index;
  for (std::size_t i = 0; i < header.inputs.size(); ++i)
    index.inputs[header.inputs[i].name].push_back(i);
  return index;
}

// What a row looks at: the message and its words, its line of the .fs file
// (empty when it is placed elsewhere) and that line's words, and the shader.
struct Clue {
  const CompilerMessage& message;
  std::string_view fs_line;
  const ShaderEntry& entry;
  const Words& message_words;
  const Words& line_words;
  const ShaderIndex& shader;
};

using Explain = void (*)(const Clue& clue, std::vector<std::string>& out);

void unsupported_type(const Clue& clue, std::vector<std::string>& out) {
  for (std::size_t i : named_in(clue.shader.inputs, clue.message_words)) {
    const HeaderInput& input = clue.entry.header.inputs[i];
    if (!input.type.empty() && has_no_rule(input.type))
      out.push_back(messages::unsupported_input_type(input.name, input.type));
  }
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
  if (clue.shader.inputs.count(name) > 0) return;
  out.push_back(messages::undeclared_name(name));
}

// An input named like one of the host's uniforms is declared twice.
void host_uniform_name(const Clue& clue, std::vector<std::string>& out) {
  if (clue.message.text.find("redeclared") == std::string::npos) return;
  for (std::size_t i : named_in(clue.shader.inputs, clue.message_words))
    out.push_back(messages::host_uniform_name(clue.entry.header.inputs[i].name));
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
  if (clue.line_words.has_any({"precision", "highp", "mediump", "lowp"}))
    out.push_back(messages::newer_glsl_precision());
}

void unsigned_integer(const Clue& clue, std::vector<std::string>& out) {
  if (clue.line_words.has_any({"uint", "uvec2", "uvec3", "uvec4"}))
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

// The lines of the shader file as the compiler counts them, without their
// line ends.
std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (const CompilerLine& line : compiler_lines(text).lines)
    lines.push_back(text.substr(line.begin, line.end - line.begin));
  return lines;
}

}  // namespace

std::vector<std::string> explain_failure(const ShaderEntry& entry) {
  std::vector<std::string_view> lines = split_lines(entry.fs_text);
  ShaderIndex shader = index_shader(entry.header);
  std::vector<std::string> explanations;
  std::unordered_set<std::string> given;
  std::unordered_map<int, Words> line_words;  // each line read once, however many messages
  const Words no_words;
  for (const CompilerMessage& message : entry.messages) {
    if (message.severity != "error") continue;
    std::string_view fs_line;
    int at = message.place.fs_line;
    if (message.frag_line > 0 && message.place.origin == LineOrigin::shader && at >= 1 &&
        static_cast<std::size_t>(at) <= lines.size())
      fs_line = lines[static_cast<std::size_t>(at) - 1];
    Words message_words = words_of(message.text);
    auto cached = line_words.find(at);
    if (!fs_line.empty() && cached == line_words.end())
      cached = line_words.emplace(at, words_of(fs_line)).first;
    const Words& words = fs_line.empty() ? no_words : cached->second;
    Clue clue{message, fs_line, entry, message_words, words, shader};
    std::vector<std::string> found;
    for (Explain explain : known_causes) explain(clue, found);
    for (std::string& text : found)
      if (given.insert(text).second) explanations.push_back(std::move(text));
  }
  return explanations;
}

}  // namespace gallery
