// The conversions run one after another on the calling thread, as the
// converter runs them; compiling and rendering, the slow part, runs on a pool
// of workers that take the next converted shader from a shared counter, each
// with an OSMesa context of its own.
#include "run_gallery.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "convert_step.h"
#include "driver/console.h"
#include "gallery_messages.h"
#include "host_uniforms.h"
#include "html_page.h"
#include "options.h"
#include "platform/platform.h"
#include "png_io.h"
#include "progress.h"
#include "render_step.h"
#include "report_json.h"
#include "summary.h"
#include "test_pattern.h"

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

int worker_count(const Options& options, std::size_t shaders) {
  int cores = static_cast<int>(std::thread::hardware_concurrency());
  int jobs = options.jobs > 0 ? options.jobs : std::max(cores, 1);
  return std::max(1, std::min(jobs, static_cast<int>(shaders)));
}

// Compiles and renders every converted entry on `workers` threads. The first
// failure to set up a context is kept and reported; the shaders that worker
// would have taken are left to the others.
std::string render_all(std::vector<ShaderEntry>& entries, const RenderSettings& settings,
                       const Options& options, Progress& progress) {
  std::vector<std::size_t> todo;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].frag_written) todo.push_back(i);
  std::atomic<std::size_t> next{0};
  std::mutex failure_lock;
  std::string failure;
  auto work = [&]() {
    try {
      render::OffscreenContext context(options.width, options.height);
      for (std::size_t n = next++; n < todo.size(); n = next++) {
        compile_and_render(context, settings, entries[todo[n]]);
        progress.advance(entries[todo[n]]);
      }
    } catch (const std::exception& error) {
      std::lock_guard<std::mutex> lock(failure_lock);
      if (failure.empty()) failure = error.what();
    }
  };
  std::vector<std::thread> threads;
  int workers = worker_count(options, todo.size());
  for (int i = 1; i < workers; ++i) threads.emplace_back(work);
  work();
  for (std::thread& thread : threads) thread.join();
  return next.load() >= todo.size() ? std::string() : failure;
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
  console::err(messages::cannot_write(path));
  return false;
}

int survey(const Options& options, const std::vector<std::string>& shaders) {
  const std::string folder = with_separator(options.gallery_path);
  const std::string media = folder + "media" + platform::separator;
  if (!make_folder(folder) || !make_folder(media)) {
    console::err(messages::cannot_create_gallery(options.gallery_path));
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
  std::string failure = render_all(entries, settings, options, progress);
  progress.finish();
  if (!failure.empty()) {
    console::err(messages::cannot_render(failure));
    return exit_failures;
  }

  Summary summary = summarise(entries);
  bool written = write_text(folder + "report.json", report_json(options.input_path, entries, summary));
  written = write_text(folder + "index.html",
                       html_page(entries, summary, {options.gallery_path, options.width, options.height})) &&
            written;
  console::out(messages::summary_line(summary));
  return written ? exit_status(summary) : exit_failures;
}

}  // namespace

int run_gallery(const std::vector<std::string>& arguments) {
  std::string error;
  std::optional<Options> options = parse_options(arguments, error);
  if (!options) {
    console::err(messages::bad_command_line(error));
    return exit_usage;
  }
  std::optional<std::vector<std::string>> shaders = list_shaders(options->input_path);
  if (!shaders) {
    console::err(messages::bad_command_line(messages::input_invalid(options->input_path)));
    return exit_usage;
  }
  try {
    return survey(*options, *shaders);
  } catch (const std::exception& failure) {
    console::err(messages::cannot_render(failure.what()));
    return exit_failures;
  }
}

}  // namespace gallery
