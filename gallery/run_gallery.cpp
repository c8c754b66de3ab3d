// The conversions run one after another, as the converter runs them;
// compiling and rendering, the slow part and the one that a hostile shader
// can crash, runs on a pool of worker processes, each with an OSMesa context
// of its own. The page and the report are written whatever the shaders did.
#include "run_gallery.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

#include "child_process.h"
#include "convert_step.h"
#include "driver/console.h"
#include "gallery_messages.h"
#include "host_uniforms.h"
#include "html_page.h"
#include "live_files.h"
#include "options.h"
#include "platform/platform.h"
#include "png_io.h"
#include "progress.h"
#include "render_step.h"
#include "report_json.h"
#include "summary.h"
#include "test_pattern.h"
#include "worker_pool.h"

namespace gallery {
namespace {

std::string with_separator(std::string folder) {
  if (!folder.empty() && folder.back() != platform::separator) folder += platform::separator;
  return folder;
}

bool make_folder(const std::string& path) {
  std::error_code ignored;
  std::filesystem::create_directories(path, ignored);
  return platform::stat_kind(path) == platform::StatKind::directory;
}

PoolSettings pool_settings(const Options& options) {
  PoolSettings pool;
  int cores = static_cast<int>(std::thread::hardware_concurrency());
  pool.workers = options.jobs > 0 ? options.jobs : std::max(cores, 1);
  pool.width = options.width;
  pool.height = options.height;
  pool.time_limit = options.time_limit;
  pool.memory_limit = static_cast<std::size_t>(options.memory_limit) << 20;
  return pool;
}

RenderSettings render_settings(const Options& options, const std::string& media_folder) {
  RenderSettings settings;
  settings.frames = options.frames;
  settings.fps = options.fps;
  for (const std::string& path : options.images) settings.images.push_back(render::read_png(path));
  settings.test_pattern = render::make_test_pattern(options.width, options.height);
  settings.date = render::local_date_now();
  settings.media_folder = media_folder;
  return settings;
}

bool write_text(const std::string& path, const std::string& text) {
  if (platform::write_file(path, text)) return true;
  console::err(messages::cannot_write(console::shown_on_err(path), os::last_error_text()));
  return false;
}

int survey(const Options& options, const std::vector<std::string>& shaders) {
  const std::string folder = with_separator(options.gallery_path);
  const std::string media = folder + "media" + platform::separator;
  if (!make_folder(folder) || !make_folder(media)) {
    console::err(messages::cannot_create_gallery, options.gallery_path);
    return exit_failures;
  }
  RenderSettings settings = render_settings(options, media);

  Progress progress(shaders.size(), platform::stderr_is_terminal());
  std::vector<ShaderEntry> entries;
  entries.reserve(shaders.size());
  for (const std::string& shader : shaders) {
    entries.push_back(convert_entry(shader, folder));
    if (!entries.back().frag_written) progress.advance(entries.back());
  }
  std::string failure = render_in_workers(entries, settings, pool_settings(options), progress);
  progress.finish();
  if (!failure.empty()) console::err(messages::cannot_render, failure);

  Summary summary = summarise(entries);
  bool written = write_text(folder + "report.json", report_json(options.input_path, entries, summary));
  written = write_text(folder + "index.html",
                       html_page(entries, summary, {options.gallery_path, options.width, options.height})) &&
            written;
  if (std::string unwritten = write_live_files(folder, settings, entries); !unwritten.empty()) {
    console::err(messages::cannot_write(console::shown_on_err(unwritten), os::last_error_text()));
    written = false;
  }
  console::out(messages::summary_line(summary));
  return written && failure.empty() ? exit_status(summary) : exit_failures;
}

}  // namespace

int run_gallery(const std::vector<std::string>& arguments) {
  std::string error;
  std::optional<Options> options = parse_options(arguments, error);
  if (!options) {
    console::err(messages::bad_command_line, error);
    return exit_usage;
  }
  if (options->help) {
    console::out(messages::usage());
    return exit_ok;
  }
  std::optional<std::vector<std::string>> shaders = list_shaders(options->input_path);
  if (!shaders) {
    console::err(messages::bad_command_line, messages::input_invalid(options->input_path));
    return exit_usage;
  }
  try {
    return console::exit_status(survey(*options, *shaders));
  } catch (const std::exception& failure) {
    console::err(messages::cannot_render, failure.what());
    return exit_failures;
  }
}

}  // namespace gallery
