// Walks the "INPUTS" of an ISF header and hands each input to the rule of its
// type. The blocks are appended in place, so an input that fails (no string
// TYPE or NAME) leaves everything from the inputs before it in the output.
#include "params/translate_inputs.h"

#include "params/input_fields.h"
#include "params/input_rules.h"

namespace params {

void translate_inputs(const nlohmann::json& inputs, ShaderBlocks& blocks) {
  if (!inputs.is_array()) return;
  // Room for a typical macro line and uniform per input, so that the blocks
  // do not grow by many small steps.
  blocks.comment.reserve(blocks.comment.size() + 96 * inputs.size());
  blocks.uniforms.reserve(blocks.uniforms.size() + 32 * inputs.size());
  for (const nlohmann::json& input : inputs) {
    const std::string& type = text_member(input, "TYPE");
    const std::string& name = text_member(input, "NAME");
    // A nameless input declares nothing and uses no sampler number.
    if (name.empty()) continue;
    const InputRule rule = input_rule(type);
    if (rule == nullptr) continue;
    const std::string macro = rule(input, name, blocks);
    if (macro.empty()) continue;
    blocks.comment += macro;
    blocks.comment += '\n';
  }
}

}  // namespace params
