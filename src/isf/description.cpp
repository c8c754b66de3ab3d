// The credit line and the host's plug-in description macro that open the
// comment block. Both are single comment lines, so line breaks inside the
// header's texts are flattened to spaces; so are NUL bytes, at which a
// compiler would stop reading the whole text.
#include "isf/description.h"

#include <string_view>

namespace isf {
namespace {

// Every CR LF pair, lone CR, lone LF and NUL becomes one space; the text
// between them is copied in one piece.
std::string on_one_line(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  std::size_t copied = 0;  // text before it is in `line`
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n' && c != '\0') continue;
    line.append(text, copied, i - copied);
    line += ' ';
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    copied = i + 1;
  }
  line.append(text, copied);
  return line;
}

// The member's text when it is a string of at least one byte, else nothing.
const std::string* non_empty_text(const nlohmann::json& member) {
  if (!member.is_string()) return nullptr;
  const auto& text = member.get_ref<const std::string&>();
  return text.empty() ? nullptr : &text;
}

}  // namespace

std::string description_lines(const nlohmann::json& credit, const nlohmann::json& description) {
  const std::string* credit_text = non_empty_text(credit);
  const std::string* description_text = non_empty_text(description);
  std::string lines;
  lines.reserve((credit_text ? credit_text->size() : 0) +
                (description_text ? description_text->size() : 0) + 64);
  if (credit_text) {
    lines += "// CREDIT: ";
    lines += on_one_line(*credit_text);
    lines += '\n';
  }
  if (description_text) {
    lines += "// ORVANE_PLUGIN_DESC(\"";
    lines += on_one_line(*description_text);
    lines += "\")\n";
  }
  return lines;
}

}  // namespace isf
