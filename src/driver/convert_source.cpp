// The stages of a conversion, in order: split the file, read the header
// (description and parameters), then rewrite the body and assemble the text.
#include "driver/convert_source.h"

#include <utility>

#include "glsl/assemble.h"
#include "isf/description.h"
#include "isf/header.h"
#include "isf/source_reader.h"
#include "params/translate_inputs.h"

namespace driver {
namespace {

// Header guard: any failure while reading the header or translating the
// inputs leaves the blocks as far as they were filled, and the conversion
// goes on with the body.
bool read_header(std::string header_text, const std::string& body, params::ShaderBlocks& blocks,
                 bool& multi_pass) {
  try {
    nlohmann::json header = isf::parse_header(header_text);
    std::string().swap(header_text);
    isf::HeaderMembers members = isf::lookup_header_members(std::move(header));
    if (isf::is_multi_pass(body, members.passes)) {
      multi_pass = true;
      return true;
    }
    blocks.comment += isf::description_lines(members.credit, members.description);
    params::translate_inputs(members.inputs, blocks);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

SourceConversion convert_source(std::string file_text) {
  SourceConversion result;
  isf::ShaderSource source = isf::read_shader_source(file_text);
  std::string().swap(file_text);  // frees the buffer; assigning an empty string may keep it
  params::ShaderBlocks blocks;
  result.header_unreadable =
      !read_header(std::move(source.header_text), source.body, blocks, result.multi_pass);
  if (result.multi_pass) return result;
  std::string body = glsl::rewrite_body(std::move(source.body), blocks.uniforms, blocks.image_table);
  result.text = glsl::assemble(blocks.comment, blocks.defines, blocks.uniforms, std::move(body));
  return result;
}

}  // namespace driver
