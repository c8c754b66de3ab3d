// The stages of a conversion, in order: split the file, read the header
// (refusals, description and parameters) under its guard, refuse a file
// without code, then rewrite the body and assemble the text.
#include "convert/convert_source.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "glsl/assemble.h"
#include "glsl/text/body_words.h"
#include "isf/description.h"
#include "isf/header.h"
#include "isf/source_reader.h"
#include "params/input_names.h"
#include "params/translate_inputs.h"

namespace convert {
namespace {

bool uses_any(const std::string& body, const std::vector<std::string>& names) {
  for (const glsl::WordUse& use : glsl::word_uses(body, names)) {
    if (use.used) return true;
  }
  return false;
}

std::set<std::string> declared_names(const std::string& body,
                                     const std::vector<std::string>& names) {
  const std::vector<glsl::WordUse> uses = glsl::word_uses(body, names);
  std::set<std::string> declared;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (uses[i].declared) declared.insert(names[i]);
  }
  return declared;
}

// Where the reading ended decides what the shader without code lacks.
HeaderOutcome without_code(isf::ReadEnd ended) {
  switch (ended) {
    case isf::ReadEnd::no_header: return HeaderOutcome::no_header;
    case isf::ReadEnd::header_open: return HeaderOutcome::header_never_closes;
    case isf::ReadEnd::body: break;
  }
  return HeaderOutcome::no_code;
}

bool is_blank(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  return text.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos;
}

// Frees the header's values on every way out of the header guard in a way
// that needs no memory (the library's destructor gathers the values in a
// list first, which is also the slower way).
struct ReleaseOnExit {
  std::optional<nlohmann::json>& header;
  isf::HeaderMembers& members;
  ~ReleaseOnExit() {
    if (header) isf::release(*header);
    isf::release(members);
  }
};

// The header guard: a header that is not JSON, or whose values have the
// wrong types, leaves the blocks as far as they were filled, and the
// conversion goes on with the body. Running out of memory is no fault of the
// header: that goes on to the caller, once the JSON values are freed.
// The facts are taken as soon as the members are known, so that a refused
// shader has them too.
HeaderOutcome read_header(std::string header_text, const std::string& body,
                          params::ShaderBlocks& blocks, HeaderFacts* facts) {
  std::optional<nlohmann::json> header;
  isf::HeaderMembers members;
  const ReleaseOnExit release{header, members};
  try {
    header = isf::parse_header(header_text);
    std::string().swap(header_text);
    if (!header) return HeaderOutcome::unreadable;
    members = isf::lookup_header_members(std::move(*header));
    if (facts) *facts = header_facts(members);
    if (isf::is_multi_pass(body, members.passes)) return HeaderOutcome::multi_pass;
    // The host has no sound and no images from files.
    if (uses_any(body, params::input_names_of_type(members.inputs, {"AUDIO", "AUDIOFFT"})))
      return HeaderOutcome::audio;
    if (uses_any(body, isf::imported_names(members.imported))) return HeaderOutcome::imported;
    blocks.declared_in_body =
        declared_names(body, params::input_names_of_type(members.inputs, {"POINT2D"}));
    blocks.comment += isf::description_lines(members.credit, members.description);
    params::translate_inputs(members.inputs, blocks);
    return HeaderOutcome::read;
  } catch (const nlohmann::json::exception&) {
    return HeaderOutcome::unreadable;
  }
}

std::size_t count_lines(const std::string& block) {
  return static_cast<std::size_t>(std::count(block.begin(), block.end(), '\n'));
}

}  // namespace

bool gives_no_text(HeaderOutcome outcome) {
  return outcome != HeaderOutcome::read && outcome != HeaderOutcome::unreadable;
}

SourceConversion convert_source(std::string file_text, bool with_details) {
  SourceConversion result;
  isf::ShaderSource source = isf::read_shader_source(file_text);
  std::string().swap(file_text);  // frees the buffer; assigning an empty string may keep it
  params::ShaderBlocks blocks;
  result.header = read_header(std::move(source.header_text), source.body, blocks,
                              with_details ? &result.facts : nullptr);
  if (gives_no_text(result.header)) return result;
  if (is_blank(source.body)) {
    result.header = without_code(source.ended);
    return result;
  }
  result.comment_lines = count_lines(blocks.comment);
  result.define_lines = count_lines(blocks.defines);
  result.body_first_line = source.body_first_line;
  std::string body = glsl::rewrite_body(std::move(source.body), blocks.uniforms, blocks.image_table,
                                        with_details ? &result.body_line_map : nullptr,
                                        {std::move(blocks.events), std::move(blocks.point_lines)});
  result.text = glsl::assemble(blocks.comment, blocks.defines, blocks.uniforms, std::move(body));
  if (with_details) result.parameters = params::parse_parameter_macros(result.text);
  return result;
}

}  // namespace convert
