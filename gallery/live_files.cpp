// The live folder is written after the page: its data are JavaScript
// statements that hand a JSON object to the page's script, because a page
// opened from the file system may load scripts but not read files. Every
// value a live view binds comes from here, from the tables the gallery's own
// renderer binds by, so the browser shows what the thumbnails show.
#include "live_files.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "gallery_messages.h"
#include "host_parameters.h"
#include "host_uniforms.h"
#include "number_text.h"
#include "page_script.h"
#include "params/type_words.h"
#include "platform/platform.h"
#include "png_io.h"

namespace gallery {
namespace {

using nlohmann::json;

std::string base64(const std::vector<unsigned char>& bytes) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned long group = static_cast<unsigned long>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned long>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= bytes[i + 2];
    out += digits[(group >> 18) & 63];
    out += digits[(group >> 12) & 63];
    out += i + 1 < bytes.size() ? digits[(group >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? digits[group & 63] : '=';
  }
  return out;
}

// A picture as a PNG file in base64, which the page decodes into a texture.
json picture(const render::RgbaImage& image) {
  return {
      {"width", image.width}, {"height", image.height}, {"png", base64(render::encode_png(image))}};
}

// A call of the page's script with the object; text that is not UTF-8 (in a
// comment of the shader, say) is replaced rather than refused.
std::string statement(const char* function, const json& object) {
  return std::string(function) + "(" + object.dump(-1, ' ', false, json::error_handler_t::replace) +
         ");\n";
}

// The ISF type of the header input `name`, or empty.
std::string input_type(const ShaderEntry& entry, const std::string& name) {
  for (const HeaderInput& input : entry.header.inputs)
    if (input.name == name) return input.type;
  return {};
}

// A 2-D point is two float parameters named NAME_x and NAME_y: the name of the
// point when `name` is one of them.
std::string point_of(const ShaderEntry& entry, const std::string& name) {
  if (name.size() < 3 || name[name.size() - 2] != '_') return {};
  std::string point = name.substr(0, name.size() - 2);
  char axis = name.back();
  return (axis == 'x' || axis == 'y') &&
                 params::equals_ignore_case(input_type(entry, point), "POINT2D")
             ? point
             : std::string();
}

json number_field(const params::ParameterMacro& macro, std::size_t index) {
  double value = 0.0;
  if (macro.fields.size() != 3 || !render::parse_double(macro.fields[index], value)) return nullptr;
  return value;
}

json controls(const ShaderEntry& entry) {
  std::vector<render::HostParameter> values = render::read_host_parameters(entry.frag_text);
  json list = json::array();
  for (std::size_t i = 0; i < entry.parameters.size() && i < values.size(); ++i) {
    const params::ParameterMacro& macro = entry.parameters[i];
    // An EVENT is an integer parameter from 0 to 1 to the host; the header
    // says that it is pressed rather than set.
    bool event = params::equals_ignore_case(input_type(entry, macro.name), "EVENT");
    const auto& v = values[i].value;
    list.push_back(
        {{"name", macro.name},
         {"kind", event ? "event" : kind_name(macro.kind)},
         {"uniform_type", render::parameter_uniform_type(macro.kind)},
         {"min", number_field(macro, 0)},
         {"max", number_field(macro, 1)},
         {"default", macro.kind == params::MacroKind::color ? json::array({v[0], v[1], v[2], v[3]})
                                                            : json::array({v[0]})},
         {"point", point_of(entry, macro.name)}});
  }
  return list;
}

json image_names(const ShaderEntry& entry) {
  json names = json::array();
  for (const HeaderInput& input : entry.header.inputs)
    if (params::equals_ignore_case(input.type, "IMAGE")) names.push_back(input.name);
  return names;
}

// For every converted line, the place that a message about it starts with.
json line_places(const ShaderEntry& entry) {
  const std::string frag_name = entry.stem + ".frag";
  json places = json::array();
  CompilerMessage message;
  for (std::size_t line = 0; line < entry.frag_lines.size(); ++line) {
    message.frag_line = static_cast<int>(line) + 1;
    message.place = entry.frag_lines[line];
    places.push_back(messages::placed_message(entry.source_path, frag_name, message));
  }
  return places;
}

}  // namespace

std::vector<unsigned char> reduce_to_blocks(const render::RgbaImage& picture, int blocks) {
  std::vector<unsigned char> reduced;
  if (picture.width <= 0 || picture.height <= 0) return reduced;
  auto edge = [blocks](int block, int side) {
    return static_cast<int>(static_cast<long>(block) * side / blocks);
  };
  for (int by = 0; by < blocks; ++by) {
    int y0 = edge(by, picture.height), y1 = std::max(edge(by + 1, picture.height), y0 + 1);
    for (int bx = 0; bx < blocks; ++bx) {
      int x0 = edge(bx, picture.width), x1 = std::max(edge(bx + 1, picture.width), x0 + 1);
      unsigned long sums[4] = {0, 0, 0, 0};
      for (int y = y0; y < y1 && y < picture.height; ++y)
        for (int x = x0; x < x1 && x < picture.width; ++x)
          for (int c = 0; c < 4; ++c) sums[c] += picture.at(x, y)[c];
      unsigned long count = static_cast<unsigned long>(std::min(y1, picture.height) - y0) *
                            static_cast<unsigned long>(std::min(x1, picture.width) - x0);
      for (unsigned long sum : sums)
        reduced.push_back(static_cast<unsigned char>((sum + count / 2) / count));
    }
  }
  return reduced;
}

std::string live_host_script(const RenderSettings& settings) {
  json builtins = json::array();
  for (const render::HostUniformMeaning& meaning : render::builtin_uniform_meanings())
    builtins.push_back(
        {{"name", std::string(meaning.name)}, {"type", meaning.glsl_type}, {"value", meaning.value}});
  render::FrameValues first = frame_values(settings, 0);
  json images = json::array();
  for (const render::RgbaImage& image : settings.images) images.push_back(picture(image));
  json host = {{"size", {settings.test_pattern.width, settings.test_pattern.height}},
               {"builtins", builtins},
               {"image_sampler_prefix", render::image_sampler_prefix},
               {"image_size_prefix", render::image_size_prefix},
               {"first_frame",
                {{"time", first.time},
                 {"time_delta", first.time_delta},
                 {"frame_index", first.frame},
                 {"date", first.date}}},
               {"images", images},
               {"test_pattern", picture(settings.test_pattern)},
               {"check_blocks", live_check_blocks}};
  return statement("isf2orvyLive.host", host);
}

std::string live_shader_script(const ShaderEntry& entry, const render::RgbaImage& thumbnail) {
  CompilerMessage unplaced;
  json shader = {
      {"name", entry.file_name},
      {"frag", entry.frag_text},
      {"controls", controls(entry)},
      {"images", image_names(entry)},
      {"places", line_places(entry)},
      {"unplaced", messages::placed_message(entry.source_path, entry.stem + ".frag", unplaced)},
      {"thumbnail", base64(reduce_to_blocks(thumbnail, live_check_blocks))}};
  return statement("isf2orvyLive.shader", shader);
}

std::string live_script_name(const ShaderEntry& entry) { return entry.stem + ".js"; }

std::string write_live_files(const std::string& gallery_folder, const RenderSettings& settings,
                             const std::vector<ShaderEntry>& entries) {
  const std::string folder = gallery_folder + "live" + platform::separator;
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  if (!platform::write_file(folder + "page.js", std::string(live_page_script())))
    return folder + "page.js";
  if (!platform::write_file(folder + "host.js", live_host_script(settings)))
    return folder + "host.js";
  for (const ShaderEntry& entry : entries) {
    if (!entry.compiled) continue;
    render::RgbaImage thumbnail;
    if (!entry.thumbnail.empty()) {
      try {
        thumbnail = render::read_png(settings.media_folder + entry.thumbnail);
      } catch (const std::exception&) {
        // No thumbnail to check against; the view still runs.
      }
    }
    std::string path = folder + live_script_name(entry);
    if (!platform::write_file(path, live_shader_script(entry, thumbnail))) return path;
  }
  return {};
}

}  // namespace gallery
