// The parameter macro lines of the host's plug-in text: their four heads, the
// fixed help text that closes them, and the reading of one line back into its
// parts. The converter writes these lines; the preview renderer reads them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace params {

// The heads, each including the opening parenthesis. No head is a prefix of
// another: the on/off head differs from the integer head at "_ONOFF".
inline constexpr std::string_view int_onoff_macro_head = "// ORVANE_INT_PARAM_ONOFF(";
inline constexpr std::string_view int_macro_head = "// ORVANE_INT_PARAM(";
inline constexpr std::string_view float_macro_head = "// ORVANE_FLOAT_PARAM(";
inline constexpr std::string_view color_macro_head = "// ORVANE_VEC4_COLOR_PARAM(";

// The help text the converter gives every parameter; it also closes the macro.
inline constexpr std::string_view no_help_macro_tail = "\"No help available.\")";

// The separator that ends the name, the identifier and every field.
inline constexpr std::string_view macro_field_separator = ", ";

enum class MacroKind { int_onoff, int_range, float_range, color };

// The parts of one macro line, as text:
//   int_onoff:   fields = {default}                 ("0" or "1")
//   int_range:   fields = {min, max, default}       (printf "%d" or a signed text)
//   float_range: fields = {min, max, default}       (printf "%g" or a signed text)
//   color:       fields = {code}                    ("0x" and eight hex digits AARRGGBB)
struct ParameterMacro {
  MacroKind kind = MacroKind::float_range;
  std::string name;
  std::string identifier;
  std::vector<std::string> fields;
  std::string help;  // between the quotes of the last argument
};

// The number of fields between the identifier and the help text.
std::size_t macro_field_count(MacroKind kind);

// The head of `kind`'s lines.
std::string_view macro_head(MacroKind kind);

// Reads one line (a trailing "\n" or "\r\n" is allowed). Nothing when the line
// does not open with one of the heads or does not have the shape
//   head NAME, ID, FIELD, ..., "HELP")
// The line is read from its end: the help text is the last quoted argument,
// the fields and the identifier are the arguments before it, and the name is
// everything else, so a name holding ", " is read whole. A help text holding
// `, "` is not read correctly; the converter's help text never does.
std::optional<ParameterMacro> parse_parameter_macro_line(std::string_view line);

// Every parameter macro line of a text, in text order; the other lines are
// skipped.
std::vector<ParameterMacro> parse_parameter_macros(std::string_view text);

}  // namespace params
