// isf2orvy-preview: renders one frame of a converted .frag shader offscreen,
// playing the host's part, and writes it as a PNG image.
#include <array>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "gl_context.h"
#include "host_parameters.h"
#include "host_uniforms.h"
#include "options.h"
#include "png_io.h"
#include "test_pattern.h"

namespace {

constexpr int usage_status = 2;

std::string read_text(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read the shader " + path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::array<double, 4> date_values(const std::optional<preview::CalendarDate>& given) {
  if (given) return {double(given->year), double(given->month), double(given->day), given->seconds};
  return render::local_date_now();
}

// tex<N> gets the N-th --image, or the test pattern at the frame's size.
std::vector<render::RgbaImage> input_images(const preview::Options& options, int slots) {
  std::vector<render::RgbaImage> images;
  for (int n = 0; n < slots; ++n) {
    if (static_cast<std::size_t>(n) < options.images.size())
      images.push_back(render::read_png(options.images[n]));
    else
      images.push_back(render::make_test_pattern(options.width, options.height));
  }
  for (std::size_t n = static_cast<std::size_t>(slots); n < options.images.size(); ++n)
    std::cerr << "isf2orvy-preview: warning: the shader uses no tex" << n << ", "
              << options.images[n] << " is not used\n";
  return images;
}

int render_frame(const preview::Options& options) {
  std::string source = read_text(options.shader_path);
  std::vector<render::HostParameter> parameters = render::read_host_parameters(source);
  for (const auto& [name, value] : options.parameter_values) {
    std::string error;
    if (!render::set_host_parameter(parameters, name, value, error)) {
      std::cerr << "isf2orvy-preview: " << error << "\n";
      return usage_status;
    }
  }

  render::OffscreenContext context(options.width, options.height);
  try {
    context.use_fragment_program(source);
  } catch (const render::ShaderError& error) {
    std::cerr << "isf2orvy-preview: " << options.shader_path << ": " << error.what();
    return 1;
  }
  render::FrameValues frame{options.time, options.time_delta, options.frame,
                             date_values(options.date)};
  render::bind_host_uniforms(context,
                              input_images(options, render::image_slot_count(context.program())),
                              frame, parameters);
  render::write_png(options.output_path, context.draw_frame());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string error;
  std::optional<preview::Options> options = preview::parse_options(arguments, error);
  if (!options) {
    std::cerr << "isf2orvy-preview: " << error << "\n" << preview::usage_text();
    return usage_status;
  }
  try {
    return render_frame(*options);
  } catch (const std::exception& failure) {
    std::cerr << "isf2orvy-preview: " << failure.what() << "\n";
    return 1;
  }
}
