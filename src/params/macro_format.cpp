// Reading one parameter macro line back into its name, identifier, fields and
// help text. The line is taken apart from its end, because the help text and
// the fields have a fixed shape while the name is copied unchanged from the
// ISF header and may hold any bytes.
#include "params/macro_format.h"

#include <array>
#include <utility>

namespace params {

namespace {

constexpr std::array<MacroKind, 4> all_kinds = {MacroKind::int_onoff, MacroKind::int_range,
                                                MacroKind::float_range, MacroKind::color};

std::string_view without_line_end(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::size_t macro_field_count(MacroKind kind) {
  return kind == MacroKind::int_range || kind == MacroKind::float_range ? 3 : 1;
}

std::string_view macro_head(MacroKind kind) {
  switch (kind) {
    case MacroKind::int_onoff:
      return int_onoff_macro_head;
    case MacroKind::int_range:
      return int_macro_head;
    case MacroKind::float_range:
      return float_macro_head;
    case MacroKind::color:
      return color_macro_head;
  }
  return {};
}

std::optional<ParameterMacro> parse_parameter_macro_line(std::string_view line) {
  line = without_line_end(line);
  ParameterMacro macro;
  bool known_head = false;
  for (MacroKind kind : all_kinds) {
    if (starts_with(line, macro_head(kind))) {
      macro.kind = kind;
      line.remove_prefix(macro_head(kind).size());
      known_head = true;
      break;
    }
  }
  if (!known_head) return std::nullopt;

  // The help text: from the last `, "` up to the closing `")`.
  constexpr std::string_view help_close = "\")";
  if (line.size() < help_close.size() || line.substr(line.size() - help_close.size()) != help_close)
    return std::nullopt;
  line.remove_suffix(help_close.size());
  std::size_t help_open = line.rfind(", \"");
  if (help_open == std::string_view::npos) return std::nullopt;
  macro.help = std::string(line.substr(help_open + 3));
  line = line.substr(0, help_open);

  // The fields and then the identifier, each split off at the last ", ".
  std::vector<std::string> from_the_end;
  for (std::size_t i = 0; i < macro_field_count(macro.kind) + 1; ++i) {
    std::size_t cut = line.rfind(macro_field_separator);
    if (cut == std::string_view::npos) return std::nullopt;
    std::string_view part = line.substr(cut + macro_field_separator.size());
    if (part.empty()) return std::nullopt;
    from_the_end.emplace_back(part);
    line = line.substr(0, cut);
  }
  if (line.empty()) return std::nullopt;
  macro.name = std::string(line);
  macro.identifier = from_the_end.back();
  from_the_end.pop_back();
  macro.fields.assign(from_the_end.rbegin(), from_the_end.rend());
  return macro;
}

std::vector<ParameterMacro> parse_parameter_macros(std::string_view text) {
  std::vector<ParameterMacro> macros;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (auto macro = parse_parameter_macro_line(line)) macros.push_back(std::move(*macro));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return macros;
}

}  // namespace params
