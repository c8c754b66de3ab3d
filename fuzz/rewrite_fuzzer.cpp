// Fuzz target: the body-rewriting primitives, each checked against its plain
// restatement in tests/reference, and the whole last stage of a
// conversion against the same stages composed from them. The first bytes
// choose the operation, the names and the rewrite row; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "glsl/assemble.h"
#include "glsl/calls/macro_rewrite.h"
#include "glsl/rules/rule_tables.h"
#include "glsl/text/body_text.h"
#include "glsl/text/whole_word.h"
#include "reference_rewrite.h"

namespace {

constexpr std::size_t max_input = 64 * 1024;

// Names the converter really passes, a few awkward ones, and (past the end of
// the table) a name taken from the input itself.
constexpr std::string_view known_names[] = {
    "main", "TIME", "TIMEDELTA", "RENDERSIZE", "isf_FragNormCoord.xy", "isf_FragNormCoord",
    "inputImage", "IMG_PIXEL", "a", "_x", "9lives", "", "tex0", "gl_TexCoord[0].xy",
};
constexpr std::size_t known_count = sizeof known_names / sizeof known_names[0];

constexpr std::string_view prologues[] = {
    "vec2 isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n",
    "vec4 _inputImage_imgRect = vec4(0.0, 0.0, resolution_tex0.x, resolution_tex0.y);\n",
    "",
};

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  unsigned char byte() {
    if (rest_.empty()) return 0;
    unsigned char b = static_cast<unsigned char>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }

  std::string_view take(std::size_t count) {
    std::string_view taken = rest_.substr(0, count);
    rest_.remove_prefix(taken.size());
    return taken;
  }

  std::string name(unsigned char choice) {
    if (choice % 16 < known_count) return std::string(known_names[choice % 16]);
    return std::string(take(byte() % 24));
  }

  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

[[noreturn]] void mismatch(const char* operation, std::string_view text, const std::string& real,
                           const std::string& expected) {
  std::fprintf(stderr, "%s differs from the reference\n--- text\n%.*s\n--- got\n%s\n--- expected\n%s\n",
               operation, static_cast<int>(text.size()), text.data(), real.c_str(), expected.c_str());
  std::abort();
}

glsl::MacroRewrite image_pass_row(unsigned char choice, std::string_view image,
                                  std::string_view macro) {
  const glsl::ImageRow& table_row = glsl::kImageRows[choice % glsl::kImageRows.size()];
  glsl::MacroRewrite row = {table_row.macro_name,
                            table_row.function_name,
                            table_row.argument_count,
                            "",
                            table_row.first_becomes_size ? "resolution_tex0" : "tex0",
                            table_row.second_suffix,
                            table_row.trailing_argument};
  if (!(choice & 0x80)) row.image_name = image;  // else: any first argument
  if (choice & 0x40) row.macro_name = macro;
  return row;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > max_input) return 0;
  Input input(data, size);
  unsigned char operation = input.byte();
  unsigned char first_choice = input.byte();
  unsigned char second_choice = input.byte();
  std::string first = input.name(first_choice);
  std::string second = input.name(second_choice);
  std::string_view text = input.rest();

  switch (operation % 6) {
    case 0: {
      std::size_t position = 0, expected_position = 0;
      bool found = glsl::first_occurrence_is_whole_word(text, first, position);
      bool expected = reference::find_whole_word(text, first, expected_position);
      if (found != expected || position != expected_position)
        mismatch("first_occurrence_is_whole_word", text, std::to_string(found) + "@" + std::to_string(position),
                 std::to_string(expected) + "@" + std::to_string(expected_position));
      break;
    }
    case 1: {
      glsl::BodyText body{std::string(text)};
      bool expected_replaced = true;
      const bool replaced = body.replace_whole_word(first, second);
      std::string expected = reference::replace_whole_word(text, first, second, expected_replaced);
      if (body.text() != expected || replaced != expected_replaced)
        mismatch("replace_whole_word", text, body.text(), expected);
      break;
    }
    case 2: {
      // Every argument count, so that the splitting is held to the
      // reference's for lists of any length.
      glsl::MacroRewrite row = {"IMG_SIZE", "f", static_cast<std::size_t>(second_choice % 5), "", "", "", ""};
      if (first_choice & 0x80) row.macro_name = first;
      glsl::BodyText body{std::string(text)};
      bool expected_replaced = true;
      const bool replaced = body.rewrite_image_macro(row);
      std::string expected = reference::rewrite_image_macro(text, row, expected_replaced);
      if (body.text() != expected || replaced != expected_replaced)
        mismatch("argument splitting", text, body.text(), expected);
      break;
    }
    case 3: {
      glsl::MacroRewrite row = image_pass_row(second_choice, first, second);
      glsl::BodyText body{std::string(text)};
      bool expected_replaced = true;
      const bool replaced = body.rewrite_image_macro(row);
      std::string expected = reference::rewrite_image_macro(text, row, expected_replaced);
      if (body.text() != expected || replaced != expected_replaced)
        mismatch("rewrite_image_macro", text, body.text(), expected);
      break;
    }
    case 4: {
      glsl::BodyText body{std::string(text)};
      std::string_view prologue = prologues[second_choice % 3];
      body.insert_into_main(prologue);
      std::string expected = reference::insert_into_main(text, prologue);
      if (body.text() != expected) mismatch("insert_into_main", text, body.text(), expected);
      break;
    }
    case 5: {
      // Up to three images, named by the two choices and a third name.
      std::map<std::string, std::string> images;
      const std::string names[] = {first, second, input.name(operation / 6)};
      for (unsigned i = 0; i < second_choice % 4; ++i) images.emplace(names[i], "tex" + std::to_string(i));
      text = input.rest();
      const std::string comment = "// ORVANE_PLUGIN_DESC(\"x\")\n", defines = "#define p_x p[0]\n";
      const std::string uniforms = "uniform float a;\n";
      std::string rewritten_uniforms = uniforms;
      std::string body = glsl::rewrite_body(std::string(text), rewritten_uniforms, images);
      std::string out = glsl::assemble(comment, defines, rewritten_uniforms, std::move(body));
      std::string expected =
          reference::rewrite_and_assemble(std::string(text), comment, defines, uniforms, images);
      if (out != expected) mismatch("rewrite_and_assemble", text, out, expected);
      break;
    }
  }
  return 0;
}
