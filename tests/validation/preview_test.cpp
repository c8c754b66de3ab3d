// Every example converted by the built tool and rendered by isf2orvy-preview,
// with the frame checked against what the shader's code computes: solid
// colours, the test pattern inverted, mirrored or in blocks, values that
// follow time, the frame number and the date, and parameter defaults and
// values given on the command line. Coordinates here count rows from the
// bottom, as gl_FragCoord does.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "command.h"
#include "png_io.h"
#include "support/files.h"
#include "support/process.h"
#include "test_pattern.h"

namespace fs = std::filesystem;

namespace {

using Rgba = std::array<int, 4>;
using render::RgbaImage;

constexpr int size = 64;

Rgba pixel(const RgbaImage& image, int x, int y_from_bottom) {
  const std::uint8_t* p = image.at(x, image.height - 1 - y_from_bottom);
  return {p[0], p[1], p[2], p[3]};
}

std::string show(const Rgba& c) {
  std::ostringstream text;
  text << "(" << c[0] << ", " << c[1] << ", " << c[2] << ", " << c[3] << ")";
  return text.str();
}

int channel(double value) { return static_cast<int>(std::lround(value * 255.0)); }

// Every pixel within `tolerance` of `expected`, which may return no value
// (a negative first channel) for pixels too close to an edge of the shape.
testing::AssertionResult all_pixels(const RgbaImage& frame,
                                    const std::function<Rgba(int, int)>& expected,
                                    int tolerance = 1) {
  int wrong = 0;
  std::string first;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      Rgba want = expected(x, y);
      if (want[0] < 0) continue;
      Rgba got = pixel(frame, x, y);
      for (int c = 0; c < 4; ++c) {
        if (std::abs(got[c] - want[c]) > tolerance) {
          if (wrong++ == 0)
            first = "at (" + std::to_string(x) + ", " + std::to_string(y) + ") " + show(got) +
                    " instead of " + show(want);
          break;
        }
      }
    }
  }
  if (wrong == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << wrong << " pixels differ, first " << first;
}

class Preview : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    converted_ = std::make_unique<test_support::TempDir>();
    auto run = test_support::run_tool(
        {test_support::source_path("examples"), converted_->path().string()});
    if (run.status != 0) throw std::runtime_error("converting the examples failed:\n" + run.err);
  }
  static void TearDownTestSuite() { converted_.reset(); }

  static std::string frag(const std::string& example) { return converted_->at(example + ".frag"); }

  validation::CommandRun run_preview(const std::string& shader, const std::string& png,
                                     const std::vector<std::string>& options) {
    std::vector<std::string> arguments = {ISF2ORVY_PREVIEW_BINARY, shader, png};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return validation::run_command(arguments);
  }

  // The frame of `example` at 64x64 with `options` added to the command line.
  RgbaImage render(const std::string& example, std::vector<std::string> options = {}) {
    std::string png = scratch_.at(example + "-" + std::to_string(++renders_) + ".png");
    options.insert(options.begin(), {"--size", std::to_string(size) + "x" + std::to_string(size)});
    auto run = run_preview(frag(example), png, options);
    if (run.status != 0)
      throw std::runtime_error(example + ": the preview failed with status " +
                               std::to_string(run.status) + ":\n" + run.output);
    RgbaImage frame = render::read_png(png);
    if (frame.width != size || frame.height != size)
      throw std::runtime_error(example + ": the frame has the wrong size");
    return frame;
  }

  std::string write_image(const std::string& name, const RgbaImage& image) {
    std::string path = scratch_.at(name);
    render::write_png(path, image);
    return path;
  }

  static Rgba pattern_at(int x, int y) { return pixel(pattern_, x, y); }

  static std::unique_ptr<test_support::TempDir> converted_;
  static const RgbaImage pattern_;
  test_support::TempDir scratch_;
  int renders_ = 0;
};

std::unique_ptr<test_support::TempDir> Preview::converted_;
const RgbaImage Preview::pattern_ = render::make_test_pattern(size, size);

RgbaImage solid_image(int width, int height, Rgba colour) {
  RgbaImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 4; ++c) image.at(x, y)[c] = static_cast<std::uint8_t>(colour[c]);
  return image;
}

TEST_F(Preview, EveryConvertedExampleRenders) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(converted_->path())) {
    if (entry.path().extension() != ".frag") continue;
    ++count;
    EXPECT_NO_THROW(render(entry.path().stem().string())) << entry.path();
  }
  EXPECT_GE(count, 10);
}

TEST_F(Preview, SolidFillGivesItsDefaultColourEverywhereAndAGivenOne) {
  // The default [1.0, 0.5, 0.0, 1.0] reaches the host as 0xFFFF7F00.
  EXPECT_TRUE(all_pixels(
      render("solid_fill"),
      [](int, int) {
        return Rgba{255, 127, 0, 255};
      },
      0));
  EXPECT_TRUE(all_pixels(
      render("solid_fill", {"--set", "fillColor=0x80102030"}),
      [](int, int) {
        return Rgba{16, 32, 48, 128};
      },
      0));
  EXPECT_TRUE(all_pixels(
      render("solid_fill", {"--set", "fillColor=0,1,0,1"}),
      [](int, int) {
        return Rgba{0, 255, 0, 255};
      },
      0));
}

TEST_F(Preview, InvertInvertsTheTestPatternWhileItsBoolIsOn) {
  EXPECT_TRUE(all_pixels(
      render("invert"),
      [](int x, int y) {
        Rgba p = pattern_at(x, y);
        return Rgba{255 - p[0], 255 - p[1], 255 - p[2], 255};
      },
      0));
  EXPECT_TRUE(all_pixels(render("invert", {"--set", "invert=0"}), pattern_at, 0));
}

TEST_F(Preview, GradientFollowsTheNormalisedCoordinateAndItsBlueParameter) {
  auto ramps = [](int blue) {
    return [blue](int x, int y) {
      return Rgba{channel((x + 0.5) / size), channel((y + 0.5) / size), blue, 255};
    };
  };
  EXPECT_TRUE(all_pixels(render("gradient"), ramps(64)));
  EXPECT_TRUE(all_pixels(render("gradient", {"--set", "blue=1"}), ramps(255)));
}

TEST_F(Preview, PulseChangesWithTimeAndSpeed) {
  auto grey = [](int level) {
    return [level](int, int) { return Rgba{level, level, level, 255}; };
  };
  EXPECT_TRUE(all_pixels(render("pulse"), grey(128)));
  EXPECT_TRUE(all_pixels(render("pulse", {"--time", "0.25"}), grey(255)));
  EXPECT_TRUE(all_pixels(render("pulse", {"--time", "0.75"}), grey(0)));
  EXPECT_TRUE(all_pixels(render("pulse", {"--time", "0.25", "--set", "speed=2"}), grey(128)));
}

TEST_F(Preview, CheckerHasFourCellsAcrossByDefaultAndEightForTheThirdLabel) {
  auto cells = [](int cell) {
    return [cell](int x, int y) {
      int v = (x / cell + y / cell) % 2 == 1 ? 255 : 0;
      return Rgba{v, v, v, 255};
    };
  };
  EXPECT_TRUE(all_pixels(render("checker"), cells(size / 4), 0));
  EXPECT_TRUE(all_pixels(render("checker", {"--set", "cells=2"}), cells(size / 8), 0));
}

TEST_F(Preview, MirrorFlipsTheTestPatternOnTheChosenAxis) {
  EXPECT_TRUE(all_pixels(
      render("mirror"), [](int x, int y) { return pattern_at(size - 1 - x, y); }, 0));
  EXPECT_TRUE(all_pixels(
      render("mirror", {"--set", "axis=1"}),
      [](int x, int y) { return pattern_at(x, size - 1 - y); }, 0));
}

TEST_F(Preview, PixelateRepeatsTheLowerLeftPixelOfEachBlock) {
  auto blocks = [](int cell) {
    return [cell](int x, int y) { return pattern_at(x / cell * cell, y / cell * cell); };
  };
  EXPECT_TRUE(all_pixels(render("pixelate"), blocks(8), 0));
  EXPECT_TRUE(all_pixels(render("pixelate", {"--set", "cellSize=16"}), blocks(16), 0));
}

TEST_F(Preview, SpotlightDrawsItsColourAroundThePoint) {
  auto spot = [](double cx, double cy, double radius) {
    return [=](int x, int y) {
      double d = std::hypot((x + 0.5) / size - cx, (y + 0.5) / size - cy);
      if (std::fabs(d - radius) < 0.02) return Rgba{-1, 0, 0, 0};
      return d < radius ? Rgba{255, 255, 0, 255} : Rgba{0, 0, 0, 255};
    };
  };
  EXPECT_TRUE(all_pixels(render("spotlight"), spot(0.25, 0.75, 0.2), 0));
  EXPECT_TRUE(all_pixels(render("spotlight", {"--set", "center_x=0.6", "--set", "center_y=0.4",
                                              "--set", "radius=0.3"}),
                         spot(0.6, 0.4, 0.3), 0));
}

TEST_F(Preview, FrameCounterShowsTheFrameNumberTheFrameRateAndTheEvent) {
  auto colour = [](Rgba c) { return [c](int, int) { return c; }; };
  EXPECT_TRUE(all_pixels(render("frame_counter"), colour({0, 128, 0, 255})));
  EXPECT_TRUE(all_pixels(render("frame_counter", {"--frame", "2"}), colour({170, 128, 0, 255})));
  EXPECT_TRUE(all_pixels(render("frame_counter", {"--frame", "7", "--time-delta", "0.025"}),
                         colour({255, 85, 0, 255})));
  EXPECT_TRUE(
      all_pixels(render("frame_counter", {"--set", "flash=1"}), colour({255, 255, 255, 255})));
}

TEST_F(Preview, ClockShowsThePartOfTheDayTheMonthAndTheDay) {
  auto clock = [](double day_part, int month, int day) {
    return [=](int x, int) {
      double u = (x + 0.5) / size;
      if (std::fabs(u - day_part) < 1.0 / size) return Rgba{-1, 0, 0, 0};
      return Rgba{u < day_part ? 255 : 0, channel(month / 12.0), channel(day / 31.0), 255};
    };
  };
  EXPECT_TRUE(all_pixels(render("clock", {"--date", "2024-06-15T12:00:00"}), clock(0.5, 6, 15)));
  EXPECT_TRUE(all_pixels(render("clock", {"--date", "2023-12-31T18:00:00"}), clock(0.75, 12, 31)));
}

TEST_F(Preview, BlendMixesTheTwoImageInputs) {
  std::string first = write_image("first.png", pattern_);
  std::string second = write_image("second.png", solid_image(16, 8, {0, 100, 50, 255}));
  auto mixed = [](double amount) {
    return [amount](int x, int y) {
      Rgba p = pattern_at(x, y);
      Rgba q{0, 100, 50, 255};
      Rgba m;
      for (int c = 0; c < 4; ++c)
        m[c] = static_cast<int>(std::lround(p[c] + (q[c] - p[c]) * amount));
      return m;
    };
  };
  EXPECT_TRUE(all_pixels(render("blend", {"--image", first, "--image", second}), mixed(0.5)));
  EXPECT_TRUE(all_pixels(
      render("blend", {"--image", first, "--image", second, "--set", "amount=1"}), mixed(1.0), 0));
  // Without images both inputs get the test pattern.
  EXPECT_TRUE(all_pixels(render("blend"), pattern_at, 0));
}

TEST_F(Preview, PosterizeKeepsFourLevelsPerChannelByDefault) {
  auto levels = [](int n) {
    return [n](int x, int y) {
      Rgba p = pattern_at(x, y);
      Rgba q;
      for (int c = 0; c < 3; ++c) {
        double step = std::min(std::floor(p[c] / 255.0 * n), n - 1.0);
        q[c] = channel(step / (n - 1));
      }
      q[3] = p[3];
      return q;
    };
  };
  EXPECT_TRUE(all_pixels(render("posterize"), levels(4)));
  EXPECT_TRUE(all_pixels(render("posterize", {"--set", "levels=2"}), levels(2)));
}

TEST_F(Preview, AShaderThatDoesNotCompileFailsWithTheCompilerLog) {
  std::string shader = scratch_.at("broken.frag");
  test_support::write_bytes(shader, "void main() {\n  gl_FragColor = undefined_colour;\n}\n");
  auto run = run_preview(shader, scratch_.at("broken.png"), {});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find(shader + ": the shader does not compile:\n"), std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("undefined_colour"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(scratch_.at("broken.png")));
}

TEST_F(Preview, UnknownParametersAndBadValuesAreRefused) {
  std::string png = scratch_.at("refused.png");
  auto unknown = run_preview(frag("gradient"), png, {"--set", "green=1"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.output, "isf2orvy-preview: the shader has no parameter named green\n");
  auto not_whole = run_preview(frag("checker"), png, {"--set", "cells=1.5"});
  EXPECT_EQ(not_whole.status, 2);
  EXPECT_EQ(not_whole.output, "isf2orvy-preview: invalid value for the parameter cells: 1.5\n");
  auto bad_size = run_preview(frag("gradient"), png, {"--size", "0x10"});
  EXPECT_EQ(bad_size.status, 2);
  EXPECT_NE(bad_size.output.find("invalid value for --size: 0x10\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(png));
}

TEST_F(Preview, AnImageThatNoSamplerTakesIsReportedAndTheFrameStillWritten) {
  std::string image = write_image("unused.png", solid_image(4, 4, {1, 2, 3, 255}));
  std::string png = scratch_.at("with-unused.png");
  auto run = run_preview(frag("invert"), png, {"--image", image, "--image", image});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "isf2orvy-preview: warning: the shader uses no tex1, " + image +
                            " is not used\n");
  EXPECT_TRUE(fs::exists(png));
}

}  // namespace
