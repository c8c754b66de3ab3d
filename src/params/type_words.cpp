// The type words of ISF inputs and the one case-insensitive comparison of the
// tool. INT and LONG name the same kind of parameter.
#include "params/type_words.h"

#include "params/translate_inputs.h"

namespace params {
namespace {

// Upper-cases ASCII letters only, as toupper does in the C locale.
char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

struct TypeWord {
  std::string_view word;
  InputKind kind;
};

constexpr TypeWord type_words[] = {
    {"IMAGE", InputKind::image}, {"BOOL", InputKind::boolean}, {"EVENT", InputKind::event},
    {"FLOAT", InputKind::floating}, {"INT", InputKind::integer}, {"LONG", InputKind::integer},
    {"COLOR", InputKind::color}, {"POINT2D", InputKind::point2d},
};

}  // namespace

bool equals_ignore_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_upper(a[i]) != ascii_upper(b[i])) return false;
  }
  return true;
}

InputKind input_kind(std::string_view type) {
  for (const TypeWord& entry : type_words) {
    if (equals_ignore_case(type, entry.word)) return entry.kind;
  }
  return InputKind::unknown;
}

}  // namespace params
