// One rewrite of the calls of an ISF image-access macro (IMG_SIZE,
// IMG_THIS_PIXEL, IMG_THIS_NORM_PIXEL, IMG_NORM_PIXEL, IMG_PIXEL) into plain
// GLSL on a sampler: its parameters, and the text a qualifying call becomes.
// The rewrite itself is BodyText::rewrite_image_macro.
#pragma once

#include <cstddef>
#include <string_view>

#include "glsl/calls/macro_calls.h"
#include "glsl/text/chars.h"
#include "glsl/text/line_map.h"

namespace glsl {

struct MacroRewrite {
  std::string_view macro_name;          // e.g. "IMG_PIXEL"
  std::string_view function_name;       // e.g. "texture2D"; empty: no function
  std::size_t argument_count;           // 1 or 2
  std::string_view image_name;          // first argument must equal it; empty: any
  std::string_view first_argument;      // what a matching first argument becomes
  std::string_view second_suffix;       // e.g. "/resolution"
  std::string_view trailing_argument;   // e.g. "gl_TexCoord[0].xy"
};

// What a qualifying `call` of `text` becomes under `rewrite`, piece by piece
// in order: made(piece) for text made in place of the call, copied(begin,
// end) for a stretch of `text` kept (an argument).
template <class Made, class Copied>
void for_each_replacement_piece(std::string_view text, const MacroCall& call,
                                const MacroRewrite& rewrite, Made&& made, Copied&& copied) {
  const bool with_function = !rewrite.function_name.empty();
  if (with_function) {
    made(rewrite.function_name);
    made("(");
  }
  if (rewrite.image_name.empty()) {
    copied(call.first_begin, call.first_end);
  } else {
    made(rewrite.first_argument);
  }
  if (rewrite.argument_count == 2) {
    const std::size_t begin = skip_white_space(text, call.first_comma + 1, call.second_end);
    if (with_function && !rewrite.second_suffix.empty()) {
      made(", (");
      copied(begin, call.second_end);
      made(")");
      made(rewrite.second_suffix);
    } else {
      made(", ");
      copied(begin, call.second_end);
    }
  }
  if (!rewrite.trailing_argument.empty()) {
    made(", ");
    made(rewrite.trailing_argument);
  }
  if (with_function) made(")");
}

// Appends what a qualifying `call` of `text` becomes under `rewrite`,
// through put_copy and put_made_for (text/line_map.h).
// Text made in place of the call counts as coming from where the call
// starts; the arguments keep their own places.
template <class Out>
void append_replacement(Out& out, std::string_view text, const MacroCall& call,
                        const MacroRewrite& rewrite) {
  for_each_replacement_piece(
      text, call, rewrite, [&](std::string_view piece) { put_made_for(out, piece, call.name_at); },
      [&](std::size_t begin, std::size_t end) { put_copy(out, text, begin, end); });
}

}  // namespace glsl
