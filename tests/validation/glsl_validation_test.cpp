// The examples converted by the built tool and compiled by the GLSL reference
// compiler as a desktop fragment shader without a #version line, that is as
// GLSL 1.10, what a host with a compatibility profile compiles. The shaders
// that the tool refuses must leave no file and print their message.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "command.h"
#include "support/files.h"
#include "support/process.h"

namespace fs = std::filesystem;

namespace {

// The examples that the tool refuses, with their message; %s is the path.
const std::map<std::string, std::string> refused_examples = {
    {"vertex_wave.fs", "*ERROR* Cannot Process ISF Shaders With Vertex Shaders (%s)\n"},
    {"two_pass_blur.fs", "*ERROR* Cannot Process ISF Shaders With Multiple Passes (%s)\n"},
};

std::string with_path(std::string message, const std::string& path) {
  return message.replace(message.find("%s"), 2, path);
}

std::vector<std::string> example_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(test_support::source_path("examples")))
    if (entry.path().extension() == ".fs") names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

validation::CommandRun compile_fragment(const std::string& path) {
  return validation::run_command({GLSLANG_VALIDATOR, "-d", "-S", "frag", path});
}

TEST(GlslValidation, TheCompilerTakesGlsl110AndRejectsLaterGlsl) {
  test_support::TempDir dir;
  test_support::write_bytes(dir.at("old.frag"),
                            "uniform sampler2D tex0;\n"
                            "void main() { gl_FragColor = texture2D(tex0, gl_TexCoord[0].xy); }\n");
  test_support::write_bytes(dir.at("new.frag"),
                            "uniform sampler2D tex0;\nout vec4 color;\n"
                            "void main() { color = texture(tex0, vec2(0.5)); }\n");
  EXPECT_EQ(compile_fragment(dir.at("old.frag")).status, 0);
  EXPECT_NE(compile_fragment(dir.at("new.frag")).status, 0);
}

TEST(GlslValidation, EveryExampleConvertsAndCompilesOrIsRefusedWithItsMessage) {
  const std::string examples = test_support::source_path("examples");
  test_support::TempDir out;
  auto run = test_support::run_tool({examples, out.path().string()});
  ASSERT_EQ(run.status, 0) << run.err;

  std::string expected_err;
  std::vector<std::string> names = example_names();
  ASSERT_GE(names.size(), 10u);
  for (const std::string& name : names) {
    std::string shader = examples + "/" + name;
    std::string frag = out.at(fs::path(name).stem().string() + ".frag");
    auto refusal = refused_examples.find(name);
    if (refusal != refused_examples.end()) {
      EXPECT_NE(run.err.find(with_path(refusal->second, shader)), std::string::npos) << name;
      EXPECT_EQ(run.out.find(shader + "\n"), std::string::npos) << name;
      EXPECT_FALSE(fs::exists(frag)) << name;
      expected_err += with_path(refusal->second, shader);
      continue;
    }
    EXPECT_NE(run.out.find("Successfully Processed " + shader + "\n"), std::string::npos) << name;
    ASSERT_TRUE(fs::exists(frag)) << name;
    auto compiled = compile_fragment(frag);
    EXPECT_EQ(compiled.status, 0) << name << ":\n"
                                  << compiled.output << "\n"
                                  << test_support::read_bytes(frag);
  }
  // Nothing but the refusals on standard error, in whatever order they came.
  EXPECT_EQ(run.err.size(), expected_err.size()) << run.err;
}

TEST(GlslValidation, TheExamplesReadmeShowsEachRefusal) {
  std::string readme = test_support::read_bytes(test_support::source_path("examples/README.md"));
  for (const auto& [name, message] : refused_examples) {
    std::string shown = with_path(message, "examples/" + name);
    shown.pop_back();  // the line feed
    EXPECT_NE(readme.find("`" + shown + "`"), std::string::npos) << shown;
  }
}

}  // namespace
