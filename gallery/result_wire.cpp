// Every field in a fixed order; the reader checks each length against what
// is left, so a cut-off result is refused rather than read past its end.
#include "result_wire.h"

#include <cstdint>

namespace gallery {
namespace {

void put_number(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void put_text(std::string& out, const std::string& text) {
  put_number(out, static_cast<std::uint32_t>(text.size()));
  out += text;
}

struct Reader {
  std::string_view rest;
  bool ok = true;

  std::uint32_t number() {
    if (rest.size() < 4) ok = false;
    if (!ok) return 0;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(rest[i]);
    rest.remove_prefix(4);
    return value;
  }
  std::string text() {
    std::uint32_t size = number();
    if (rest.size() < size) ok = false;
    if (!ok) return {};
    std::string value(rest.substr(0, size));
    rest.remove_prefix(size);
    return value;
  }
};

}  // namespace

std::string encode_result(const ShaderEntry& entry) {
  std::string out;
  put_number(out, entry.compiled ? 1 : 0);
  put_number(out, static_cast<std::uint32_t>(entry.messages.size()));
  for (const CompilerMessage& message : entry.messages) {
    put_number(out, static_cast<std::uint32_t>(message.frag_line));
    put_number(out, static_cast<std::uint32_t>(message.place.origin));
    put_number(out, static_cast<std::uint32_t>(message.place.fs_line));
    put_text(out, message.severity);
    put_text(out, message.text);
  }
  put_number(out, static_cast<std::uint32_t>(entry.explanations.size()));
  for (const std::string& explanation : entry.explanations) put_text(out, explanation);
  put_text(out, entry.thumbnail);
  put_text(out, entry.animation);
  put_number(out, entry.single_colour ? 1 : 0);
  put_text(out, entry.render_error);
  return out;
}

bool decode_result(std::string_view bytes, ShaderEntry& entry) {
  Reader in{bytes};
  entry.compiled = in.number() != 0;
  std::uint32_t count = in.number();
  entry.messages.clear();
  for (std::uint32_t i = 0; i < count && in.ok; ++i) {
    CompilerMessage message;
    message.frag_line = static_cast<int>(in.number());
    message.place.origin = static_cast<LineOrigin>(in.number());
    message.place.fs_line = static_cast<int>(in.number());
    message.severity = in.text();
    message.text = in.text();
    entry.messages.push_back(std::move(message));
  }
  count = in.number();
  entry.explanations.clear();
  for (std::uint32_t i = 0; i < count && in.ok; ++i) entry.explanations.push_back(in.text());
  entry.thumbnail = in.text();
  entry.animation = in.text();
  entry.single_colour = in.number() != 0;
  entry.render_error = in.text();
  return in.ok && in.rest.empty();
}

}  // namespace gallery
