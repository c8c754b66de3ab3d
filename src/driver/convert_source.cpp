// The stages of a conversion, in order: split the file, read the header
// (description and parameters) under its guard, then rewrite the body and
// assemble the text.
#include "driver/convert_source.h"

#include <utility>

#include "glsl/assemble.h"
#include "isf/description.h"
#include "isf/header.h"
#include "isf/source_reader.h"
#include "params/translate_inputs.h"

namespace driver {
namespace {

// The header guard: a header that is not JSON, or whose values have the
// wrong types, leaves the blocks as far as they were filled, and the
// conversion goes on with the body. Running out of memory is no fault of the
// header: that goes on to the caller, once the JSON values are freed in a
// way that needs no memory.
HeaderOutcome read_header(std::string header_text, const std::string& body,
                          params::ShaderBlocks& blocks) {
  nlohmann::json header;
  isf::HeaderMembers members;
  try {
    header = isf::parse_header(header_text);
    std::string().swap(header_text);
    members = isf::lookup_header_members(std::move(header));
    if (isf::is_multi_pass(body, members.passes)) return HeaderOutcome::multi_pass;
    blocks.comment += isf::description_lines(members.credit, members.description);
    params::translate_inputs(members.inputs, blocks);
    return HeaderOutcome::read;
  } catch (const nlohmann::json::exception&) {
    return HeaderOutcome::unreadable;
  } catch (...) {
    isf::release(header);
    isf::release(members);
    throw;
  }
}

}  // namespace

SourceConversion convert_source(std::string file_text) {
  SourceConversion result;
  isf::ShaderSource source = isf::read_shader_source(file_text);
  std::string().swap(file_text);  // frees the buffer; assigning an empty string may keep it
  params::ShaderBlocks blocks;
  result.header = read_header(std::move(source.header_text), source.body, blocks);
  if (result.header == HeaderOutcome::multi_pass) return result;
  std::string body = glsl::rewrite_body(std::move(source.body), blocks.uniforms, blocks.image_table);
  result.text = glsl::assemble(blocks.comment, blocks.defines, blocks.uniforms, std::move(body));
  return result;
}

}  // namespace driver
