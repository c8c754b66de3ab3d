// isf2orvy-gallery end to end: the outcome, placed messages and explanations
// of shaders that fail for the known causes, and the outcomes of those the
// converter refuses or mends; the .frag files byte for byte
// the converter's; report.json against its documented schema; the exit
// statuses; shaders that crash, hang or exhaust memory among good ones;
// failed writes; names that are not UTF-8; and the examples' page loaded in
// a headless browser.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "command.h"
#include "explanations.h"
#include "support/files.h"
#include "support/process.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

validation::CommandRun run_gallery(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), ISF2ORVY_GALLERY_BINARY);
  return validation::run_command(arguments);
}

json read_report(const test_support::TempDir& gallery) {
  return json::parse(test_support::read_bytes(gallery.at("report.json")));
}

const json& shader_named(const json& report, const std::string& name) {
  for (const json& shader : report.at("shaders"))
    if (shader.at("name") == name) return shader;
  throw std::runtime_error("no shader " + name + " in the report");
}

// The fixtures, each failing to compile for one reason. `line` is the .fs
// line of the first error, 0 when it is on a generated line, -1 when a #line
// directive leaves it unplaced.
struct FailureCase {
  const char* file;
  int line;
  const char* explanation;  // empty: none
};

const char* const int_to_float =
    "GLSL newer than 1.10: an int where a float is needed (write 1.0, not 1); the host compiles "
    "GLSL 1.10, which has no implicit conversion";

const FailureCase failure_cases[] = {
    {"unsupported_type.fs", 6, "input spectrum has type spectrum, which the host does not provide"},
    {"int_to_float.fs", 5, int_to_float},
    {"int_returned.fs", 5, int_to_float},
    {"int_compared_with_float.fs", 6,
     "GLSL newer than 1.10: an int compared with a float (write 1.0, not 1, or float(n)); GLSL "
     "1.10 compares only values of the same type"},
    {"condition_not_bool.fs", 6,
     "an int or a float used as a condition: GLSL takes only a bool in if, while, ?: and ! (write "
     "n != 0)"},
    {"precision_qualifier.fs", 4,
     "GLSL newer than 1.10: precision qualifiers (precision, highp, mediump, lowp)"},
    {"unsigned_integer.fs", 5, "GLSL newer than 1.10: unsigned integers (uint, uvec2, uvec3, uvec4)"},
    {"array_constructor.fs", 5, "GLSL newer than 1.10: array constructors"},
    // The call over three lines is folded into two and the prologue goes in
    // before it: the error two lines further down is still on line 10.
    {"multi_line_call.fs", 10,
     "brightness is declared nowhere: it is no input of the header and no variable or function of "
     "the shader"},
    {"generated_uniform.fs", 0,
     "input time has the name of a uniform that the host supplies, so it is declared twice"},
    // Lines as the compiler counts them: a lone CR ends one, #line renumbers.
    {"lone_cr.fs", 5,
     "brightness is declared nowhere: it is no input of the header and no variable or function of "
     "the shader"},
    {"line_directive.fs", 4,
     "brightness is declared nowhere: it is no input of the header and no variable or function of "
     "the shader"},
    {"line_number_twice.fs", -1,
     "brightness is declared nowhere: it is no input of the header and no variable or function of "
     "the shader"},
};

// The fixtures that the converter refuses, or mends so that they compile.
struct OtherCase {
  const char* file;
  const char* outcome;
};

const OtherCase other_cases[] = {
    {"audio_input.fs", "refused_audio_inputs"},
    {"imported_image.fs", "refused_imported_images"},
    {"no_code.fs", "converter_error"},
    {"legacy_name.fs", "converted"},
    {"coordinate_outside_main.fs", "converted"},
    {"point_name_reused.fs", "converted"},
};

class GalleryFixtures : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    gallery_ = new test_support::TempDir;
    run_ = new validation::CommandRun(
        run_gallery({test_support::source_path("tests/gallery/fixtures"), gallery_->path().string()}));
  }
  static void TearDownTestSuite() {
    delete run_;
    delete gallery_;
  }
  static test_support::TempDir* gallery_;
  static validation::CommandRun* run_;
};

test_support::TempDir* GalleryFixtures::gallery_ = nullptr;
validation::CommandRun* GalleryFixtures::run_ = nullptr;

TEST_F(GalleryFixtures, EachFailureIsPlacedAndExplained) {
  ASSERT_EQ(run_->status, 1) << run_->output;
  json report = read_report(*gallery_);
  ASSERT_EQ(report.at("shaders").size(), std::size(failure_cases) + std::size(other_cases));
  for (const OtherCase& c : other_cases) {
    const json& shader = shader_named(report, c.file);
    EXPECT_EQ(shader.at("outcome"), c.outcome) << c.file;
    const bool converted = c.outcome == std::string("converted");
    EXPECT_EQ(shader.at("compiles"), converted ? json(true) : json()) << c.file;
    EXPECT_EQ(shader.at("converter_message").is_string(), !converted) << c.file;
  }
  for (const FailureCase& c : failure_cases) {
    SCOPED_TRACE(c.file);
    const json& shader = shader_named(report, c.file);
    EXPECT_EQ(shader.at("outcome"), "converted");
    EXPECT_EQ(shader.at("compiles"), false);
    ASSERT_FALSE(shader.at("messages").empty());
    const json& first = shader.at("messages").at(0);
    EXPECT_EQ(first.at("severity"), "error");
    if (c.line > 0) {
      EXPECT_EQ(first.at("fs_line"), c.line) << first.dump();
    } else if (c.line < 0) {
      EXPECT_EQ(first.at("frag_line"), 101) << first.dump();
      EXPECT_TRUE(first.at("fs_line").is_null() && first.at("generated").is_null()) << first.dump();
    } else {
      EXPECT_EQ(first.at("generated"), "generated uniform declarations") << first.dump();
    }
    std::vector<std::string> expected;
    if (*c.explanation) expected.push_back(c.explanation);
    EXPECT_EQ(shader.at("explanations").get<std::vector<std::string>>(), expected);
  }
}

TEST_F(GalleryFixtures, PageShowsMessagesAtTheShadersLines) {
  std::string page = test_support::read_bytes(gallery_->at("index.html"));
  std::string fixtures = test_support::source_path("tests/gallery/fixtures/");
  for (const std::string& line :
       {fixtures + "multi_line_call.fs:10: error: `brightness&#39; undeclared",
        fixtures + "generated_uniform.fs: generated uniform declarations "
                   "(generated_uniform.frag:7): error: `time&#39; redeclared"})
    EXPECT_NE(page.find(line), std::string::npos) << line;
  EXPECT_EQ(run_->output.substr(run_->output.find("19 shaders")),
            "19 shaders: 16 converted (3 compile, 13 do not), 2 refused (0 vertex shader, 0 "
            "several passes, 1 audio inputs, 1 imported images), 1 converter errors\n");
  for (const char* filter : {"<label for=\"f-audio\">audio inputs (1)</label>",
                             "<label for=\"f-imported\">imported images (1)</label>",
                             "<label for=\"f-refused\">refused (2)</label>"})
    EXPECT_NE(page.find(filter), std::string::npos) << filter;
}

class GalleryExamples : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    gallery_ = new test_support::TempDir;
    run_ = new validation::CommandRun(
        run_gallery({test_support::source_path("examples"), gallery_->path().string()}));
  }
  static void TearDownTestSuite() {
    delete run_;
    delete gallery_;
  }
  static test_support::TempDir* gallery_;
  static validation::CommandRun* run_;
};

test_support::TempDir* GalleryExamples::gallery_ = nullptr;
validation::CommandRun* GalleryExamples::run_ = nullptr;

std::map<std::string, std::string> frag_files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& item : fs::directory_iterator(folder))
    if (item.path().extension() == ".frag")
      files[item.path().filename().string()] = test_support::read_bytes(item.path().string());
  return files;
}

TEST_F(GalleryExamples, FragFilesAreTheConvertersBytes) {
  ASSERT_EQ(run_->status, 0) << run_->output;
  test_support::TempDir converted;
  test_support::run_tool({test_support::source_path("examples"), converted.path().string()});
  std::map<std::string, std::string> expected = frag_files(converted.path());
  ASSERT_EQ(expected.size(), 12u);
  EXPECT_EQ(frag_files(gallery_->path()), expected);
}

// Version 2 of the report, as README.md documents it.
using Check = std::function<bool(const json&)>;
const Check is_string = [](const json& v) { return v.is_string(); };
const Check is_count = [](const json& v) { return v.is_number_unsigned(); };
const Check string_or_null = [](const json& v) { return v.is_string() || v.is_null(); };
const Check line_or_null = [](const json& v) { return v.is_null() || v.get<int>() > 0; };
const Check strings = [](const json& v) {
  return v.is_array() && std::all_of(v.begin(), v.end(), [](const json& s) { return s.is_string(); });
};

testing::AssertionResult follows(const json& object, const std::map<std::string, Check>& schema) {
  if (!object.is_object()) return testing::AssertionFailure() << "not an object: " << object.dump();
  if (object.size() != schema.size())
    return testing::AssertionFailure() << "other members than the schema's: " << object.dump();
  for (const auto& [key, check] : schema)
    if (!object.contains(key) || !check(object.at(key)))
      return testing::AssertionFailure() << "member " << key << " wrong in " << object.dump();
  return testing::AssertionSuccess();
}

TEST_F(GalleryExamples, ReportFollowsSchemaVersion2) {
  json report = read_report(*gallery_);
  const std::vector<std::string> outcomes = {"converted", "converted_header_unreadable",
                                             "refused_vertex_shader", "refused_several_passes",
                                             "refused_audio_inputs", "refused_imported_images",
                                             "converter_error"};
  EXPECT_TRUE(follows(report, {{"schema", [](const json& v) { return v == "isf2orvy-gallery-report"; }},
                               {"schema_version", [](const json& v) { return v == 2; }},
                               {"input", is_string},
                               {"summary", [](const json& v) { return v.is_object(); }},
                               {"shaders", [](const json& v) { return v.is_array(); }}}));
  std::map<std::string, Check> summary_schema;
  for (const char* key : {"shaders", "converted", "header_unreadable", "compile", "do_not_compile",
                          "crashed_or_stopped", "refused_vertex_shader", "refused_several_passes",
                          "refused_audio_inputs", "refused_imported_images", "converter_errors",
                          "single_colour", "render_errors"})
    summary_schema[key] = is_count;
  EXPECT_TRUE(follows(report.at("summary"), summary_schema));

  const Check media = [&](const json& v) {
    return v.is_null() || (v.is_string() && fs::is_regular_file(gallery_->path() / v.get<std::string>()));
  };
  const std::map<std::string, Check> shader_schema = {
      {"name", is_string}, {"source", is_string},
      {"outcome", [&](const json& v) { return std::count(outcomes.begin(), outcomes.end(), v) == 1; }},
      {"converter_message", string_or_null}, {"frag", media},
      {"compiles", [](const json& v) { return v.is_boolean() || v.is_null(); }},
      {"credit", is_string}, {"description", is_string}, {"categories", strings},
      {"parameters", [](const json& v) { return v.is_array(); }},
      {"messages", [](const json& v) { return v.is_array(); }},
      {"explanations", strings}, {"thumbnail", media}, {"animation", media},
      {"single_colour", [](const json& v) { return v.is_boolean(); }},
      {"render_error", string_or_null},
      {"fault", [](const json& v) { return v.is_null(); }}};
  const std::map<std::string, Check> parameter_schema = {
      {"name", is_string}, {"kind", [](const json& v) {
         return v == "float" || v == "integer" || v == "on/off" || v == "colour"; }},
      {"identifier", [](const json& v) { return v.is_string() && v.get<std::string>().size() == 4; }},
      {"min", string_or_null}, {"max", string_or_null}, {"default", is_string}};
  std::map<std::string, std::size_t> counted;
  for (const json& shader : report.at("shaders")) {
    EXPECT_TRUE(follows(shader, shader_schema));
    for (const json& parameter : shader.at("parameters"))
      EXPECT_TRUE(follows(parameter, parameter_schema));
    ++counted[shader.at("outcome").get<std::string>()];
  }
  const json& summary = report.at("summary");
  EXPECT_EQ(summary.at("shaders"), report.at("shaders").size());
  EXPECT_EQ(summary.at("converted"), counted["converted"] + counted["converted_header_unreadable"]);
  EXPECT_EQ(summary.at("refused_vertex_shader"), counted["refused_vertex_shader"]);
  EXPECT_EQ(summary.at("refused_several_passes"), counted["refused_several_passes"]);
  EXPECT_EQ(summary.at("refused_audio_inputs"), counted["refused_audio_inputs"]);
  EXPECT_EQ(summary.at("refused_imported_images"), counted["refused_imported_images"]);
  // Time, date and frame index make animations; one unchanging flat colour
  // is flagged, a flat grey that pulses over time is not.
  EXPECT_TRUE(shader_named(report, "pulse.fs").at("animation").is_string());
  EXPECT_TRUE(shader_named(report, "gradient.fs").at("animation").is_null());
  EXPECT_EQ(shader_named(report, "solid_fill.fs").at("single_colour"), true);
  EXPECT_EQ(shader_named(report, "pulse.fs").at("single_colour"), false);
}

TEST(GalleryCommandLine, ExitStatuses) {
  test_support::TempDir gallery;
  std::string out = gallery.at("g");
  struct Case {
    std::vector<std::string> arguments;
    int status;
  };
  const Case cases[] = {
      {{}, 2},
      {{test_support::source_path("examples")}, 2},
      {{test_support::source_path("examples"), out, "--frames", "many"}, 2},
      {{test_support::source_path("examples"), out, "--colour", "red"}, 2},
      {{test_support::source_path("examples/README.md"), out}, 2},
      {{test_support::source_path("examples/checker.fs"), out, "--size", "32x32"}, 0},
      {{test_support::source_path("tests/gallery/fixtures/int_to_float.fs"), out}, 1},
      {{"--help"}, 0},
      {{"x", "-h", "--frames"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    EXPECT_EQ(run_gallery(c.arguments).status, c.status);
  }
}

// A crashing and a hanging shader between two good ones: each ends its own
// worker only, says why, and the page and the report hold all four. The limit
// leaves a good shader time on a busy machine under the sanitizers.
TEST(GalleryFaults, CrashAndHangEndTheirShaderOnly) {
  test_support::TempDir shaders, gallery;
  for (const auto& [from, to] : {std::pair{"examples/checker.fs", "a_good.fs"},
                                 std::pair{"tests/gallery/faults/b_crash.fs", "b_crash.fs"},
                                 std::pair{"tests/gallery/faults/c_hang.fs", "c_hang.fs"},
                                 std::pair{"examples/clock.fs", "d_good.fs"}})
    fs::copy_file(test_support::source_path(from), shaders.at(to));
  validation::CommandRun run = run_gallery({shaders.path().string(),
                                           gallery.path().string(), "--time-limit", "5",
                                           "--jobs", "2", "--frames", "2"});
  EXPECT_EQ(run.status, 1) << run.output;
  json report = read_report(gallery);
  ASSERT_EQ(report.at("shaders").size(), 4u);
  struct Expected {
    const char* name;
    const char* verdict;  // in the progress line; the fault's text
  };
  for (const Expected& e : {Expected{"a_good.fs", "compiles"},
                            Expected{"b_crash.fs", "the compiler crashed (signal 11)"},
                            Expected{"c_hang.fs", "stopped after 5 s"},
                            Expected{"d_good.fs", "compiles"}}) {
    SCOPED_TRACE(e.name);
    const json& shader = shader_named(report, e.name);
    EXPECT_NE(run.output.find("/" + std::string(e.name) + ": " + e.verdict + "\n"), std::string::npos)
        << run.output;
    bool good = std::string(e.verdict) == "compiles";
    EXPECT_EQ(shader.at("thumbnail").is_string(), good);
    EXPECT_EQ(shader.at("fault").is_null(), good);
    if (!good) {
      EXPECT_EQ(shader.at("fault").at("text"), e.verdict);
      EXPECT_EQ(shader.at("compiles"), nullptr);
      EXPECT_EQ(shader.at("explanations").size(), 1u);
    }
  }
  EXPECT_NE(run.output.find("4 shaders: 4 converted (2 compile, 0 do not, 2 crashed or stopped)"),
            std::string::npos) << run.output;
  std::string page = test_support::read_bytes(gallery.at("index.html"));
  EXPECT_NE(page.find("stopped after 5 s"), std::string::npos);
  EXPECT_NE(page.find("media/d_good.webp"), std::string::npos);
}

#ifndef __SANITIZE_ADDRESS__
// The address sanitizer's shadow memory rules out a limit on the address space.
TEST(GalleryFaults, HugeArrayRunsOutOfMemory) {
  test_support::TempDir gallery;
  validation::CommandRun run = run_gallery({test_support::source_path("tests/gallery/huge_array.fs"),
                                           gallery.path().string(), "--memory-limit", "512"});
  EXPECT_EQ(run.status, 1) << run.output;
  json fault = read_report(gallery).at("shaders").at(0).at("fault");
  EXPECT_EQ(fault.is_object() ? fault.at("kind") : fault, "out_of_memory") << run.output;
}

#endif

// A picture and the page that cannot be written: each failure on the console
// with its path and reason, counted apart from compiling.
TEST(GalleryFaults, WriteFailuresReachTheConsole) {
  test_support::TempDir gallery;
  fs::create_directories(gallery.path() / "media" / "checker.png");
  fs::create_directories(gallery.path() / "index.html");
  validation::CommandRun run = run_gallery(
      {test_support::source_path("examples/checker.fs"), gallery.path().string()});
  EXPECT_EQ(run.status, 1);
  for (const std::string& text :
       {"checker.fs: compiles; not rendered: cannot write the PNG image " + gallery.at("media/checker.png"),
        "isf2orvy-gallery: cannot write " + gallery.at("index.html") + ": Is a directory\n",
        std::string("1 shaders: 1 converted (1 compile, 0 do not), 0 refused (0 vertex shader, 0 "
                    "several passes, 0 audio inputs, 0 imported images), 1 not rendered\n")})
    EXPECT_NE(run.output.find(text), std::string::npos) << text << "\n" << run.output;
  EXPECT_TRUE(fs::is_regular_file(gallery.at("report.json")));
}

// Two names that a lossy report would make one: the bytes of the one that is
// not UTF-8 escaped as lone surrogates, and shown readably on the page.
TEST(GalleryNames, NamesThatAreNotUtf8StayExact) {
  test_support::TempDir shaders, gallery;
  std::string text = test_support::read_bytes(test_support::source_path("examples/checker.fs"));
  test_support::write_bytes(shaders.at("caf\xE9.fs"), text);
  test_support::write_bytes(shaders.at("caf\xC3\xA9.fs"), text);
  EXPECT_EQ(run_gallery({shaders.path().string(), gallery.path().string(), "--frames", "0"}).status, 0);
  std::string report = test_support::read_bytes(gallery.at("report.json"));
  EXPECT_NE(report.find("\"name\": \"caf\\udce9.fs\""), std::string::npos) << report;
  EXPECT_NE(report.find("\"name\": \"caf\xC3\xA9.fs\""), std::string::npos) << report;
  EXPECT_NE(test_support::read_bytes(gallery.at("index.html")).find("<h2>caf\\xE9.fs</h2>"),
            std::string::npos);
}

// Explaining a shader with many inputs and as many messages takes time
// linear in both: 20,000 of each, which matching every input against every
// message made minutes.
TEST(GalleryExplanations, ManyInputsAreExplainedInLinearTime) {
  gallery::ShaderEntry entry;
  const int count = 20000;
  for (int i = 0; i < count; ++i) {
    std::string name = "input" + std::to_string(i);
    entry.header.inputs.push_back({name, "audio"});
    gallery::CompilerMessage message;
    message.severity = "error";
    message.text = "`" + name + "' undeclared";
    entry.messages.push_back(message);
  }
  auto start = std::chrono::steady_clock::now();
  std::vector<std::string> explanations = gallery::explain_failure(entry);
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(explanations.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(explanations.back(), "input input19999 has type audio, which the host does not provide");
  EXPECT_LT(seconds, 5.0);
}

TEST(GalleryStandardStreams, ControlCharactersInANameShowAsQuestionMarksOnATerminal) {
  test_support::TempDir gallery;
  test_support::RunOptions options;
  options.err = test_support::Sink::terminal;
  auto run = test_support::run_program(
      {ISF2ORVY_GALLERY_BINARY, "no\x1b[2Jsuch.fs", gallery.at("g")}, options);
  EXPECT_EQ(run.status, 2);
  const std::string message =
      "isf2orvy-gallery: no?[2Jsuch.fs is neither a folder nor a file with the .fs extension\n";
  EXPECT_EQ(run.err.substr(0, message.size()), message);
}

// The page and the report are written; the failure is told after the run.
TEST(GalleryStandardStreams, AFullStandardOutputEndsTheRunWithStatus1) {
  test_support::TempDir gallery;
  test_support::RunOptions options;
  options.out = test_support::Sink::full_device;
  auto run = test_support::run_program({ISF2ORVY_GALLERY_BINARY,
                                        test_support::source_path("examples/checker.fs"),
                                        gallery.at("g"), "--size", "32x32"},
                                       options);
  EXPECT_EQ(run.status, 1);
  const std::string message = "Error: could not write to standard output.\n";
  ASSERT_GE(run.err.size(), message.size());
  EXPECT_EQ(run.err.substr(run.err.size() - message.size()), message);
  EXPECT_TRUE(fs::exists(gallery.at("g/index.html")));
  EXPECT_TRUE(fs::exists(gallery.at("g/report.json")));
}

#ifdef CHROMIUM_BINARY
// The value of an attribute of <body> in the dumped DOM, or "(missing)".
std::string body_attribute(const std::string& dom, const std::string& name) {
  std::size_t body = dom.find("<body");
  std::string tag = body == std::string::npos ? "" : dom.substr(body, dom.find('>', body) - body);
  std::size_t at = tag.find(" " + name + "=\"");
  if (at == std::string::npos) return "(missing)";
  at += name.size() + 3;
  return tag.substr(at, tag.find('"', at) - at);
}

// The <body> tag of the page as headless Chromium leaves it. The page records
// there how many pictures decoded and which errors occurred; "#check" makes
// it load every picture at once.
std::string dumped_body_tag(const std::string& page, std::string& dom) {
  test_support::TempDir profile;
  validation::CommandRun browser = validation::run_command(
      {CHROMIUM_BINARY, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
       "--no-first-run", "--disable-background-networking", "--disable-component-update",
       "--disable-sync", "--user-data-dir=" + profile.path().string(),
       "--virtual-time-budget=20000", "--dump-dom", "file://" + page + "#check"});
  dom = browser.output;
  std::size_t body = dom.find("<body");
  if (browser.status != 0 || body == std::string::npos) return {};
  return dom.substr(body, dom.find('>', body) - body);
}

TEST_F(GalleryExamples, BrowserShowsEveryCardAndPicture) {
  // Decoding runs in real time beside the browser's virtual clock, so on a
  // busy machine the dump can come before the last picture has settled;
  // only then is the page loaded again.
  std::string dom, body_tag;
  for (int attempt = 0; attempt < 5; ++attempt) {
    body_tag = dumped_body_tag(gallery_->at("index.html"), dom);
    if (body_tag.find(" data-images-settled=\"yes\"") != std::string::npos) break;
  }
  ASSERT_FALSE(body_tag.empty()) << dom;
  auto attribute = [&](const std::string& name) { return body_attribute(body_tag + ">", name); };
  json report = read_report(*gallery_);
  std::size_t cards = 0, pictures = 0;
  for (std::size_t at = dom.find("<article class=\"card"); at != std::string::npos;
       at = dom.find("<article class=\"card", at + 1))
    ++cards;
  for (const json& shader : report.at("shaders"))
    pictures += shader.at("thumbnail").is_string() ? 1 : 0;
  EXPECT_EQ(cards, report.at("shaders").size());
  EXPECT_EQ(attribute("data-images-settled"), "yes");
  EXPECT_EQ(attribute("data-images"), std::to_string(pictures));
  EXPECT_EQ(attribute("data-images-decoded"), std::to_string(pictures));
  EXPECT_EQ(attribute("data-images-failed"), "0");
  EXPECT_EQ(attribute("data-errors"), "0");
}

// A page loaded in headless Chromium with its software WebGL 2 and the page's
// console written to standard error, to be found in the output as CONSOLE.
validation::CommandRun browse_with_webgl(const std::string& url) {
  test_support::TempDir profile;
  return validation::run_command(
      {CHROMIUM_BINARY, "--headless", "--no-sandbox", "--use-angle=swiftshader",
       "--enable-unsafe-swiftshader", "--disable-quic", "--no-first-run",
       "--disable-background-networking", "--disable-component-update", "--disable-sync",
       "--user-data-dir=" + profile.path().string(), "--enable-logging=stderr",
       "--virtual-time-budget=60000", "--dump-dom", url});
}

TEST_F(GalleryExamples, EveryLiveViewRunsAndMatchesItsThumbnail) {
  validation::CommandRun browser =
      browse_with_webgl("file://" + gallery_->at("index.html") + "#check-live");
  std::size_t compile = read_report(*gallery_).at("summary").at("compile").get<std::size_t>();
  ASSERT_EQ(compile, 12u);
  EXPECT_EQ(body_attribute(browser.output, "data-live-done"), "yes") << browser.output;
  EXPECT_EQ(body_attribute(browser.output, "data-live-total"), std::to_string(compile));
  EXPECT_EQ(body_attribute(browser.output, "data-live-ran"), std::to_string(compile));
  EXPECT_EQ(body_attribute(browser.output, "data-live-matched"), std::to_string(compile));
  EXPECT_EQ(body_attribute(browser.output, "data-errors"), "0");
  EXPECT_EQ(browser.output.find("CONSOLE"), std::string::npos) << browser.output;
}

// The harness plays the user: a slider, reset, the event button and a
// picture dropped on the canvas, on a copy of the page that loads it.
TEST_F(GalleryExamples, LiveControlsResetEventAndDroppedImage) {
  std::string page = test_support::read_bytes(gallery_->at("index.html"));
  const std::string host_script = "<script src=\"live/host.js\" defer></script>";
  ASSERT_NE(page.find(host_script), std::string::npos);
  page.insert(page.find(host_script) + host_script.size(),
              "<script src=\"live_harness.js\" defer></script>");
  test_support::write_bytes(gallery_->at("harness.html"), page);
  std::string harness = test_support::source_path("tests/gallery/live_harness.js");
  test_support::write_bytes(gallery_->at("live_harness.js"), test_support::read_bytes(harness));
  validation::CommandRun browser = browse_with_webgl("file://" + gallery_->at("harness.html"));
  EXPECT_EQ(body_attribute(browser.output, "data-test-done"), "yes") << browser.output;
  EXPECT_EQ(body_attribute(browser.output, "data-test-control"), "changed reset");
  EXPECT_EQ(body_attribute(browser.output, "data-test-event"), "on off");
  EXPECT_EQ(body_attribute(browser.output, "data-test-drop"), "red");
  EXPECT_EQ(browser.output.find("CONSOLE"), std::string::npos) << browser.output;
}

// The host's OpenGL runs a global initialised from a uniform; WebGL 2 does
// not. The card says so at the shader's line and keeps its thumbnail.
TEST(GalleryLive, ShaderThatWebglRejectsShowsItsMessageOnItsCard) {
  test_support::TempDir gallery;
  std::string shader =
      test_support::source_path("tests/gallery/live_fixtures/global_initializer.fs");
  ASSERT_EQ(run_gallery({shader, gallery.path().string()}).status, 0);
  validation::CommandRun browser =
      browse_with_webgl("file://" + gallery.at("index.html") + "#check-live");
  EXPECT_EQ(body_attribute(browser.output, "data-live-done"), "yes") << browser.output;
  EXPECT_EQ(body_attribute(browser.output, "data-live-total"), "1");
  EXPECT_EQ(body_attribute(browser.output, "data-live-ran"), "0");
  EXPECT_NE(browser.output.find("<pre class=\"live-error\">the browser cannot run this shader:\n" +
                                shader + ":2: error: "),
            std::string::npos)
      << browser.output;
  EXPECT_NE(browser.output.find("src=\"media/global_initializer.webp\""), std::string::npos);
  EXPECT_EQ(body_attribute(browser.output, "data-errors"), "0");
  EXPECT_EQ(browser.output.find("CONSOLE"), std::string::npos) << browser.output;
}
#endif

}  // namespace
