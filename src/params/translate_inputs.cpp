// Walks the "INPUTS" of an ISF header and hands each input to the rule of its
// type. The blocks are appended in place, so an input that fails (no string
// TYPE or NAME) leaves everything from the inputs before it in the output.
#include "params/translate_inputs.h"

#include "params/input_fields.h"
#include "params/input_rules.h"
#include "params/type_words.h"

namespace params {
namespace {

std::string translate_input(InputKind kind, const nlohmann::json& input, const std::string& name,
                            ShaderBlocks& blocks) {
  switch (kind) {
    case InputKind::image: return translate_image(name, blocks);
    case InputKind::boolean: return translate_bool(input, name, blocks);
    case InputKind::event: return translate_event(input, name, blocks);
    case InputKind::floating: return translate_float(input, name, blocks);
    case InputKind::integer: return translate_int(input, name, blocks);
    case InputKind::color: return translate_color(input, name, blocks);
    case InputKind::point2d: return translate_point2d(input, name, blocks);
    case InputKind::unknown: break;
  }
  return std::string();
}

}  // namespace

void translate_inputs(const nlohmann::json& inputs, ShaderBlocks& blocks) {
  if (!inputs.is_array()) return;
  for (const nlohmann::json& input : inputs) {
    const std::string type = text_member(input, "TYPE");
    const std::string name = text_member(input, "NAME");
    // A nameless input declares nothing and uses no sampler number.
    if (name.empty()) continue;
    std::string macro = translate_input(input_kind(type), input, name, blocks);
    if (!macro.empty()) blocks.comment += macro + "\n";
  }
}

}  // namespace params
