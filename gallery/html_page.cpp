// The page is written in one pass over the entries. Each card carries its
// verdict as a class; the filter's radio buttons hide the other cards with
// CSS alone. A small script records, into the page itself, which pictures
// decoded and which errors occurred, so a headless browser's DOM dump can be
// checked; with "#check" in the address it also loads every picture at once.
#include "html_page.h"

#include <filesystem>

#include "gallery_messages.h"
#include "live_files.h"
#include "json_text.h"

namespace gallery {
namespace {

namespace fs = std::filesystem;

const char* const page_style = R"(
body{font:14px/1.4 system-ui,sans-serif;margin:0;background:#f4f4f2;color:#222}
header{padding:16px 24px;background:#fff;border-bottom:1px solid #ddd}
h1{font-size:20px;margin:0 0 8px}
.filters{position:absolute;left:-9999px}
nav label{display:inline-block;margin:4px 6px 0 0;padding:4px 10px;border:1px solid #bbb;border-radius:14px;cursor:pointer;background:#fff}
#f-all:checked~header label[for=f-all],#f-compiles:checked~header label[for=f-compiles],
#f-fails:checked~header label[for=f-fails],#f-refused:checked~header label[for=f-refused],
#f-audio:checked~header label[for=f-audio],#f-imported:checked~header label[for=f-imported],
#f-error:checked~header label[for=f-error],#f-flat:checked~header label[for=f-flat]{background:#224;color:#fff}
#f-compiles:checked~main .card:not(.v-compiles),#f-fails:checked~main .card:not(.v-fails),
#f-refused:checked~main .card:not(.v-refused),#f-audio:checked~main .card:not(.v-audio),
#f-imported:checked~main .card:not(.v-imported),#f-error:checked~main .card:not(.v-error),
#f-flat:checked~main .card:not(.v-flat){display:none}
main{display:flex;flex-wrap:wrap;gap:16px;padding:16px 24px}
.card{background:#fff;border:1px solid #ddd;border-radius:6px;width:320px;padding:12px;overflow-wrap:anywhere}
.card h2{font-size:15px;margin:8px 0 4px}
.pic{display:flex;align-items:center;justify-content:center;background:#ddd;aspect-ratio:1;color:#666}
.pic img{max-width:100%;height:auto}
.pic.none{aspect-ratio:auto;height:40px}
.verdict{font-weight:600}.v-fails .verdict,.v-error .verdict{color:#a00}.v-refused .verdict{color:#850}
.flag{color:#850}
table{border-collapse:collapse;font-size:12px;width:100%;margin:6px 0}
th,td{border-bottom:1px solid #eee;text-align:left;padding:2px 4px;overflow-wrap:normal}
pre{white-space:pre-wrap;font-size:12px;background:#fbeaea;padding:6px;margin:6px 0}
.why li{color:#333}.muted{color:#666}
)";

const char* const page_script = R"(
(function () {
  var errors = [];
  function record(text) {
    errors.push(String(text));
    var list = document.getElementById('page-errors');
    if (list) list.textContent = errors.join('\n');
    document.body.setAttribute('data-errors', String(errors.length));
  }
  window.addEventListener('error', function (e) {
    var t = e.target;
    if (t && t.tagName === 'IMG') return;
    record(e.message || 'error');
  }, true);
  var original = console.error;
  console.error = function () { record(Array.prototype.join.call(arguments, ' ')); original.apply(console, arguments); };
  document.addEventListener('DOMContentLoaded', function () {
    document.body.setAttribute('data-errors', String(errors.length));
    var images = document.querySelectorAll('main img');
    var eager = location.hash === '#check';
    var settled = 0, decoded = 0, failed = 0;
    function done() {
      settled++;
      document.body.setAttribute('data-images-decoded', String(decoded));
      document.body.setAttribute('data-images-failed', String(failed));
      if (settled === images.length) document.body.setAttribute('data-images-settled', 'yes');
    }
    document.body.setAttribute('data-images', String(images.length));
    if (images.length === 0) document.body.setAttribute('data-images-settled', 'yes');
    images.forEach(function (img) {
      if (eager) img.loading = 'eager';
      img.decode().then(function () {
        if (img.naturalWidth > 0) { decoded++; img.setAttribute('data-state', 'decoded'); }
        else { failed++; img.setAttribute('data-state', 'empty'); }
        done();
      }, function () { failed++; img.setAttribute('data-state', 'failed'); done(); });
    });
  });
})();
)";

std::string verdict_class(const ShaderEntry& entry) {
  std::string classes;
  if (is_converted(entry.outcome))
    classes = entry.compiled ? "v-compiles" : "v-fails";
  else
    classes = entry.outcome == Outcome::converter_error ? "v-error" : "v-refused";
  if (entry.outcome == Outcome::refused_audio_inputs) classes += " v-audio";
  if (entry.outcome == Outcome::refused_imported_images) classes += " v-imported";
  if (entry.single_colour) classes += " v-flat";
  return classes;
}

std::string parameter_table(const ShaderEntry& entry) {
  if (entry.parameters.empty()) return {};
  std::string html =
      "<table><tr><th>parameter</th><th>kind</th><th>range</th><th>default</th><th>id</th></tr>";
  for (const params::ParameterMacro& p : entry.parameters) {
    std::string range = p.fields.size() == 3 ? p.fields[0] + " to " + p.fields[1] : "";
    html += "<tr><td>" + html_escape(p.name) + "</td><td>" + kind_name(p.kind) + "</td><td>" +
            html_escape(range) + "</td><td>" + html_escape(p.fields.empty() ? "" : p.fields.back()) +
            "</td><td><code>" + html_escape(p.identifier) + "</code></td></tr>";
  }
  return html + "</table>";
}

std::string picture(const ShaderEntry& entry, const PageSettings& settings) {
  const std::string& file = entry.animation.empty() ? entry.thumbnail : entry.animation;
  if (file.empty()) return "<div class=\"pic none\">no picture</div>";
  return "<div class=\"pic\"><img loading=\"lazy\" decoding=\"async\" src=\"media/" +
         html_escape(url_path(file)) + "\" width=\"" + std::to_string(settings.width) +
         "\" height=\"" + std::to_string(settings.height) + "\" alt=\"" +
         html_escape(readable_text(entry.file_name)) + "\"></div>";
}

std::string source_link(const ShaderEntry& entry, const PageSettings& settings) {
  fs::path page = fs::absolute(fs::path(settings.gallery_path)).lexically_normal();
  fs::path source = fs::absolute(fs::path(entry.source_path)).lexically_normal();
  fs::path relative = source.lexically_relative(page);
  std::string target = relative.empty() ? source.generic_string() : relative.generic_string();
  return "<a href=\"" + html_escape(url_path(target)) + "\">.fs</a>";
}

std::string card(const ShaderEntry& entry, const PageSettings& settings) {
  std::string html = "<article class=\"card " + verdict_class(entry) + "\"";
  if (entry.compiled)
    html += " data-fs=\"" + html_escape(entry.file_name) + "\" data-live=\"live/" +
            html_escape(url_path(live_script_name(entry))) + "\"";
  html += ">";
  html += picture(entry, settings);
  html += "<h2>" + html_escape(readable_text(entry.file_name)) + "</h2>";
  html += "<div class=\"verdict\">" + html_escape(messages::outcome_label(entry.outcome));
  if (is_converted(entry.outcome)) html += ", " + html_escape(messages::verdict(entry));
  html += "</div>";
  if (!entry.header.credit.empty())
    html += "<div class=\"muted\">" + html_escape(entry.header.credit) + "</div>";
  if (!entry.header.description.empty())
    html += "<p>" + html_escape(entry.header.description) + "</p>";
  if (!entry.header.categories.empty()) {
    std::string joined;
    for (const std::string& c : entry.header.categories) joined += (joined.empty() ? "" : ", ") + c;
    html += "<div class=\"muted\">" + html_escape(joined) + "</div>";
  }
  if (entry.single_colour) html += "<div class=\"flag\">" + messages::single_colour() + "</div>";
  if (!entry.converter_message.empty())
    html += "<pre>" + html_escape(entry.converter_message) + "</pre>";
  if (!entry.messages.empty()) {
    html += "<pre>";
    for (const CompilerMessage& m : entry.messages)
      html += html_escape(messages::placed_message(entry.source_path, entry.stem + ".frag", m)) + "\n";
    html += "</pre>";
  }
  if (!entry.explanations.empty()) {
    html += "<ul class=\"why\">";
    for (const std::string& why : entry.explanations) html += "<li>" + html_escape(why) + "</li>";
    html += "</ul>";
  }
  if (!entry.render_error.empty()) html += "<pre>" + html_escape(entry.render_error) + "</pre>";
  html += parameter_table(entry);
  html += "<div>" + source_link(entry, settings);
  if (entry.frag_written)
    html += " <a href=\"" + html_escape(url_path(entry.stem + ".frag")) + "\">.frag</a>";
  return html + "</div></article>\n";
}

std::string filter(const char* id, const std::string& label, std::size_t count) {
  return "<label for=\"" + std::string(id) + "\">" + html_escape(label) + " (" +
         std::to_string(count) + ")</label>";
}

}  // namespace

std::string html_escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string url_path(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string html_page(const std::vector<ShaderEntry>& entries, const Summary& summary,
                      const PageSettings& settings) {
  std::string html = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                     "<meta name=\"viewport\" content=\"width=device-width\">"
                     "<title>isf2orvy gallery</title><style>";
  html += page_style;
  html += "</style><script>";
  html += page_script;
  html += "</script><script src=\"live/page.js\" defer></script>"
          "<script src=\"live/host.js\" defer></script></head>\n<body>\n";
  const char* ids[] = {"f-all",   "f-compiles", "f-fails", "f-refused", "f-audio",
                       "f-imported", "f-error", "f-flat"};
  for (const char* id : ids)
    html += "<input type=\"radio\" name=\"filter\" class=\"filters\" id=\"" + std::string(id) +
            "\"" + (id == ids[0] ? " checked" : "") + ">";
  html += "\n<header><h1>isf2orvy gallery</h1><div id=\"summary\">" +
          html_escape(messages::summary_line(summary)) + "</div><nav>";
  html += filter("f-all", "all", summary.shaders);
  html += filter("f-compiles", "compile", summary.compile);
  html += filter("f-fails", "do not compile", summary.do_not_compile + summary.crashed_or_stopped);
  html += filter("f-refused", "refused", refused(summary));
  html += filter("f-audio", "audio inputs", summary.refused_audio_inputs);
  html += filter("f-imported", "imported images", summary.refused_imported_images);
  html += filter("f-error", "converter errors", summary.converter_errors);
  html += filter("f-flat", "single colour", summary.single_colour);
  html += "</nav><pre id=\"page-errors\" hidden></pre></header>\n<main>\n";
  for (const ShaderEntry& entry : entries) html += card(entry, settings);
  html += "</main>\n</body></html>\n";
  return html;
}

}  // namespace gallery
