// The rewriting rules one step at a time, as the format describes them: every
// call's end is searched afresh and every "main" restarts the search. Slow on
// purpose; only the differential tests, the fuzzers and their replay use it.
#include "reference_rewrite.h"

#include "glsl/rules/rule_tables.h"

namespace reference {
namespace {

bool is_identifier(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool is_name_start(char c) { return is_identifier(c) && !(c >= '0' && c <= '9'); }

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text as a NUL-terminated string sees it.
std::size_t text_end(std::string_view text) {
  std::size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text.size() : nul;
}

// Skips white space and block comments, as often as they follow each other.
std::size_t skip_space_and_comments(std::string_view text, std::size_t at, std::size_t end) {
  for (;;) {
    while (at < end && is_white(text[at])) ++at;
    if (at + 1 < end && text[at] == '/' && text[at + 1] == '*') {
      std::size_t close = text.find("*/", at + 2);
      at = (close == std::string_view::npos || close >= end) ? end : close + 2;
      continue;
    }
    return at;
  }
}

// True when a whole-word occurrence of `name` starts at `at` (which is a
// candidate: a name-start character not preceded by an identifier character).
bool name_at(std::string_view text, std::size_t at, std::size_t end, std::string_view name) {
  if (text.compare(at, name.size(), name) != 0) return false;
  std::size_t after = at + name.size();
  return after == end || !is_identifier(text[after]);
}

std::string replacement_text(const glsl::MacroRewrite& rewrite, std::vector<std::string> args) {
  if (!rewrite.image_name.empty()) args[0] = std::string(rewrite.first_argument);
  std::string out;
  bool function = !rewrite.function_name.empty();
  if (function) out += std::string(rewrite.function_name) + "(";
  if (!args.empty()) out += args[0];
  if (rewrite.argument_count == 2) {
    if (function && !rewrite.second_suffix.empty())
      out += ", (" + args[1] + ")" + std::string(rewrite.second_suffix);
    else
      out += ", " + args[1];
  }
  if (!rewrite.trailing_argument.empty()) out += ", " + std::string(rewrite.trailing_argument);
  if (function) out += ")";
  return out;
}

}  // namespace

std::string up_to_nul(std::string_view text) { return std::string(text.substr(0, text_end(text))); }

std::size_t skip_blanks_and_comments(std::string_view text, std::size_t at) {
  return skip_space_and_comments(text, at, text_end(text));
}

bool find_whole_word(std::string_view text, std::string_view word, std::size_t& position) {
  position = text.find(word);
  if (position == std::string_view::npos) return false;
  bool starts = position == 0 || !is_identifier(text[position - 1]);
  std::size_t after = position + word.size();
  bool ends = after == text.size() || !is_identifier(text[after]);
  return starts && ends;
}

std::string replace_whole_word(std::string_view text, std::string_view old_name,
                               std::string_view new_name, bool& replaced) {
  replaced = false;
  std::size_t end = text_end(text);
  std::string out;
  char first = old_name.empty() ? '\0' : old_name[0];
  for (std::size_t at = 0; at < end;) {
    char c = text[at];
    bool candidate = is_name_start(c) && c == first && !(at > 0 && is_identifier(text[at - 1]));
    if (candidate && end - at < old_name.size()) {
      out.append(text.substr(at, end - at));
      break;
    }
    if (candidate && name_at(text, at, end, old_name)) {
      out.append(new_name);
      replaced = true;
      at += old_name.size();
      continue;
    }
    out += c;
    ++at;
  }
  return out;
}

namespace {

std::vector<std::string> split_call_arguments(std::string_view text) {
  std::size_t end = text_end(text);
  std::size_t at = skip_space_and_comments(text, 0, end);
  std::vector<std::string> args;
  if (at >= end) return args;
  std::size_t start = at;
  int depth = 0;
  while (at < end) {
    char c = text[at];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth <= 0) break;
      --depth;
    } else if (c == ',' && depth == 0) {
      args.emplace_back(text.substr(start, at - start));
      ++at;
      while (at < end && is_white(text[at])) ++at;
      start = at;
      continue;
    }
    ++at;
  }
  if (at > start) args.emplace_back(text.substr(start, at - start));
  return args;
}

}  // namespace

std::string rewrite_image_macro(std::string_view text, const glsl::MacroRewrite& rewrite,
                                bool& replaced) {
  replaced = false;
  std::string_view name = rewrite.macro_name;
  std::size_t end = text_end(text);
  std::string out;
  char first = name.empty() ? '\0' : name[0];
  for (std::size_t at = 0; at < end;) {
    char c = text[at];
    bool candidate = is_name_start(c) && c == first && !(at > 0 && is_identifier(text[at - 1]));
    if (candidate && end - at < name.size()) {
      out.append(text.substr(at, end - at));
      break;
    }
    if (candidate && name_at(text, at, end, name)) {
      std::size_t open = skip_space_and_comments(text, at + name.size(), end);
      if (open < end && text[open] == '(') {
        std::size_t close = open + 1;
        for (int depth = 0; close < end; ++close) {
          if (text[close] == '(') ++depth;
          if (text[close] == ')' && depth-- == 0) break;
        }
        std::vector<std::string> args =
            split_call_arguments(text.substr(open + 1, close - (open + 1)));
        if (args.size() == rewrite.argument_count &&
            (rewrite.image_name.empty() || (!args.empty() && args[0] == rewrite.image_name))) {
          out += replacement_text(rewrite, std::move(args));
          replaced = true;
          at = close < end ? close + 1 : end;
          continue;
        }
      }
    }
    out += c;
    ++at;
  }
  return out;
}

// Where the prologue goes: after the line break that follows the "{" of
// "main ( void ) {", or npos.
std::size_t main_body_start(std::string_view body) {
  std::size_t end = text_end(body);
  for (std::size_t from = 0;;) {
    std::size_t m = body.find("main", from);
    if (m == std::string_view::npos || m + 4 > end) return std::string_view::npos;
    from = m + 4;
    bool whole = (m == 0 || !is_identifier(body[m - 1])) && (m + 4 == end || !is_identifier(body[m + 4]));
    if (!whole) continue;
    std::size_t at = m + 4;
    while (at < end && is_white(body[at])) ++at;
    if (at >= end || body[at] != '(') continue;
    ++at;
    while (at < end && is_white(body[at])) ++at;
    if (body.compare(at, 4, "void") == 0 && at + 4 <= end) {
      at += 4;
      while (at < end && is_white(body[at])) ++at;
    }
    if (at >= end || body[at] != ')') continue;
    ++at;
    while (at < end && is_white(body[at])) ++at;
    if (at >= end || body[at] != '{') continue;
    ++at;
    while (at < end && (body[at] == ' ' || body[at] == '\t' || body[at] == '\v' || body[at] == '\f')) ++at;
    if (at < end && body[at] == '\r') ++at;
    if (at < end && body[at] == '\n') ++at;
    return at;
  }
}

std::string insert_into_main(std::string_view body, std::string_view prologue) {
  const std::size_t at = main_body_start(body);
  if (at == std::string_view::npos) return std::string(body);
  return std::string(body.substr(0, at)) + std::string(prologue) + "\n" + std::string(body.substr(at));
}

// Whether `word` stands as a whole word before main's body or after the "}"
// that closes it (braces counted outside comments; an unclosed body runs to
// the end).
bool used_outside_main(std::string_view body, std::string_view word) {
  body = body.substr(0, text_end(body));
  const std::size_t start = main_body_start(body);
  if (start == std::string_view::npos) return false;
  std::size_t close = body.size();
  int depth = 1;
  for (std::size_t at = start; at < body.size(); ++at) {
    if (body.compare(at, 2, "//") == 0) {
      at = body.find('\n', at);
      if (at == std::string_view::npos) break;
    } else if (body.compare(at, 2, "/*") == 0) {
      at = body.find("*/", at + 2);
      if (at == std::string_view::npos) break;
      ++at;
    } else if (body[at] == '{') {
      ++depth;
    } else if (body[at] == '}' && --depth == 0) {
      close = at;
      break;
    }
  }
  for (std::size_t at = body.find(word); at != std::string_view::npos; at = body.find(word, at + 1)) {
    const std::size_t after = at + word.size();
    const bool whole = (at == 0 || !is_identifier(body[at - 1])) &&
                       (after == body.size() || !is_identifier(body[after]));
    if (whole && (at < start || at > close)) return true;
  }
  return false;
}

std::string rewrite_and_assemble(std::string body, const std::string& comment_block,
                                 const std::string& define_block, std::string uniform_block,
                                 const std::map<std::string, std::string>& image_table) {
  const bool no_images = image_table.empty();
  bool replaced = false;
  body = replace_whole_word(body, "vv_FragNormCoord", "isf_FragNormCoord", replaced);
  if (!no_images) {
    body = replace_whole_word(body, "isf_FragNormCoord.xy", "gl_TexCoord[0].xy", replaced);
    body = replace_whole_word(body, "isf_FragNormCoord", "gl_TexCoord[0].xy", replaced);
  }
  bool render_size_needed = false;
  for (const auto& [name, sampler] : image_table) {
    const std::string size_uniform = "resolution_" + sampler;
    for (const glsl::ImageRow& row : glsl::kImageRows) {
      const glsl::MacroRewrite rewrite = {
          row.macro_name,        row.function_name, row.argument_count,
          name,                  row.first_becomes_size ? std::string_view(size_uniform)
                                                        : std::string_view(sampler),
          row.second_suffix,     row.trailing_argument};
      body = reference::rewrite_image_macro(body, rewrite, replaced);
      if (replaced && row.declares_size) uniform_block += "uniform vec2 " + size_uniform + ";\n";
      if (replaced && row.needs_render_size) render_size_needed = true;
    }
  }
  for (const glsl::Builtin& row : glsl::kBuiltins) {
    body = replace_whole_word(body, row.isf_name, row.host_name, replaced);
    if (replaced || (row.declared_for_render_size && (no_images || render_size_needed))) {
      uniform_block += row.declaration;
    }
  }
  for (const auto& [name, sampler] : image_table) body = replace_whole_word(body, name, sampler, replaced);
  std::string prologue;
  std::size_t position = 0;
  if (find_whole_word(body, "_inputImage_imgRect", position)) {
    prologue += "vec4 _inputImage_imgRect = vec4(0.0, 0.0, resolution_tex0.x, resolution_tex0.y);\n";
    // The rectangle's size uniform, unless an IMG_SIZE call declared it.
    if (uniform_block.find("uniform vec2 resolution_tex0;\n") == std::string::npos)
      uniform_block += "uniform vec2 resolution_tex0;\n";
  }
  if (no_images) {
    // Read outside main too, the coordinate is a global that main sets.
    if (used_outside_main(body, "isf_FragNormCoord")) {
      uniform_block += "vec2 isf_FragNormCoord;\n";
    } else {
      prologue += "vec2 ";
    }
    prologue += "isf_FragNormCoord = gl_FragCoord.xy / resolution.xy;\n";
  }
  if (!prologue.empty()) body = insert_into_main(body, prologue);
  return comment_block + "\n" + define_block + "\n" + uniform_block + body;
}

}  // namespace reference
