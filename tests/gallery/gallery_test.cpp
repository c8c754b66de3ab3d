// isf2orvy-gallery end to end: the outcome, placed messages and explanations
// of shaders that fail for the known causes; the .frag files byte for byte
// the converter's; report.json against its documented schema; the exit
// statuses; and the examples' page loaded in a headless browser.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "command.h"
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
// line of the first error, 0 when it is on a generated line.
struct FailureCase {
  const char* file;
  int line;
  const char* explanation;  // empty: none
};

const FailureCase failure_cases[] = {
    {"unsupported_type.fs", 6, "input fftImage has type audioFFT, which the host does not provide"},
    {"imported_image.fs", 6, "image logo is IMPORTED from a file, which the host does not provide"},
    {"legacy_name.fs", 5,
     "vv_FragNormCoord is a legacy name that the converter does not replace; write "
     "isf_FragNormCoord"},
    {"coordinate_outside_main.fs", 5,
     "isf_FragNormCoord is used outside main: in a shader without image inputs the converter "
     "declares it only inside main"},
    {"point_name_reused.fs", 5,
     "the 2-D point center is also the name of a variable or parameter, which its #define "
     "replaces"},
    {"int_to_float.fs", 5,
     "GLSL newer than 1.10: an int where a float is needed (write 1.0, not 1); the host compiles "
     "GLSL 1.10, which has no implicit conversion"},
    {"precision_qualifier.fs", 4,
     "GLSL newer than 1.10: precision qualifiers (precision, highp, mediump, lowp)"},
    {"unsigned_integer.fs", 5, "GLSL newer than 1.10: unsigned integers (uint, uvec2, uvec3, uvec4)"},
    {"array_constructor.fs", 5, "GLSL newer than 1.10: array constructors"},
    // The call over three lines is folded into two and the prologue goes in
    // before it: the error two lines further down is still on line 10.
    {"multi_line_call.fs", 10, ""},
    {"generated_uniform.fs", 0, ""},
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
  ASSERT_EQ(report.at("shaders").size(), std::size(failure_cases));
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
  EXPECT_EQ(run_->output.substr(run_->output.find("11 shaders")),
            "11 shaders: 11 converted (0 compile, 11 do not), 0 refused (0 vertex shader, 0 "
            "several passes)\n");
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

// Version 1 of the report, as README.md documents it.
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

TEST_F(GalleryExamples, ReportFollowsSchemaVersion1) {
  json report = read_report(*gallery_);
  const std::vector<std::string> outcomes = {"converted", "converted_header_unreadable",
                                             "refused_vertex_shader", "refused_several_passes",
                                             "converter_error"};
  EXPECT_TRUE(follows(report, {{"schema", [](const json& v) { return v == "isf2orvy-gallery-report"; }},
                               {"schema_version", [](const json& v) { return v == 1; }},
                               {"input", is_string},
                               {"summary", [](const json& v) { return v.is_object(); }},
                               {"shaders", [](const json& v) { return v.is_array(); }}}));
  std::map<std::string, Check> summary_schema;
  for (const char* key : {"shaders", "converted", "header_unreadable", "compile", "do_not_compile",
                          "refused_vertex_shader", "refused_several_passes", "converter_errors",
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
      {"render_error", string_or_null}};
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.arguments));
    EXPECT_EQ(run_gallery(c.arguments).status, c.status);
  }
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
  auto attribute = [&](const std::string& name) {
    std::size_t at = body_tag.find(" " + name + "=\"");
    if (at == std::string::npos) return std::string("(missing)");
    at += name.size() + 3;
    return body_tag.substr(at, body_tag.find('"', at) - at);
  };
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
#endif

}  // namespace
