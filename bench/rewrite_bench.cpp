// Whole conversions of shader files with one image and with thousands, and
// the rewriting stage (image passes, built-ins, image names, prologue,
// assembly) on bodies of about 1 MB and 8 MB. Realistic bodies repeat shader
// code; hostile ones are built to make a call-by-call reading quadratic.
// Linear time shows as an 8 MB time about 8 times the 1 MB time, and as
// conversions with thousands of images close to the plain one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "convert/convert_source.h"
#include "glsl/assemble.h"

namespace {

const std::map<std::string, std::string> kOneImage = {{"inputImage", "tex0"}};
const std::map<std::string, std::string> kNoImages;

std::string repeated(const std::string& unit, std::size_t bytes) {
  std::string text;
  text.reserve(bytes + unit.size());
  while (text.size() < bytes) text += unit;
  return text;
}

const std::string kShaderLines =
    "vec4 c = IMG_THIS_PIXEL(inputImage);\n"
    "vec2 uv = isf_FragNormCoord.xy + vec2(sin(TIME), cos(TIME * 0.5)) * 0.01;\n"
    "vec4 n = IMG_NORM_PIXEL(inputImage, uv) * IMG_PIXEL(inputImage, gl_FragCoord.xy + 1.0);\n"
    "// blur radius from the image size\n"
    "float r = length(IMG_SIZE(inputImage)) / RENDERSIZE.x; /* weighted */\n"
    "gl_FragColor = mix(c, n, clamp(r * float(FRAMEINDEX) + TIMEDELTA, 0.0, 1.0));\n";

std::string realistic(std::size_t bytes) {
  return "void main() {\n" + repeated(kShaderLines, bytes) + "}\n";
}

std::string one_line(std::size_t bytes) {
  std::string line = kShaderLines;
  std::replace(line.begin(), line.end(), '\n', ' ');
  line.replace(line.find("// blur"), 4, "/**/");  // no line comment swallowing the line
  return "void main() { " + repeated(line, bytes) + "}";
}

std::string unclosed_size_calls(std::size_t bytes) { return repeated("IMG_SIZE(", bytes); }

// IMG_PIXEL(IMG_PIXEL(...x...)): every call has one argument, none qualifies.
std::string nested_pixel_calls(std::size_t bytes) {
  const std::size_t depth = std::max<std::size_t>(100000, bytes / 11);
  return repeated("IMG_PIXEL(", depth * 10) + "x" + std::string(depth, ')');
}

// IMG_PIXEL(inputImage, a, IMG_PIXEL(inputImage, a, ...)): three arguments
// each, so every argument list is split in full and none qualifies.
std::string nested_image_calls(std::size_t bytes) {
  const std::size_t depth = std::max<std::size_t>(100000, bytes / 26);
  return repeated("IMG_PIXEL(inputImage, a, ", depth * 25) + "x" + std::string(depth, ')');
}

std::string main_tokens(std::size_t bytes) {
  return repeated("main; domain mainImage main\n", bytes) + "void main() {\n}\n";
}

std::string builtin_prefixes(std::size_t bytes) {
  return repeated("TIMEDELTAx RENDERSIZE_ TIME2 DATEs FRAMEINDEX1 TIMEx IMG_SIZEx ", bytes);
}

std::string spaced_comment_chain(std::size_t bytes) {
  return "IMG_SIZE " + repeated("/*IMG_SIZE/**/ ", bytes) + "(inputImage)";
}

std::string nested_comment_chain(std::size_t bytes) {
  return "IMG_SIZE" + repeated("/*IMG_SIZE", bytes) + "*/(inputImage)";
}

template <std::string (*Make)(std::size_t), const std::map<std::string, std::string>* Table>
void rewrite(benchmark::State& state) {
  const std::string body = Make(static_cast<std::size_t>(state.range(0)) << 20);
  for (auto _ : state) {
    // The converter hands its body over; the copy that stands in for it is
    // not timed.
    state.PauseTiming();
    std::string copy = body;
    state.ResumeTiming();
    std::string uniforms = "uniform sampler2D tex0;\n";
    std::string rewritten = glsl::rewrite_body(std::move(copy), uniforms, *Table);
    std::string text = glsl::assemble("// c\n", "", uniforms, std::move(rewritten));
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

// A whole shader file with `images` image inputs and a body of about
// `bytes` whose lines read the images in turn, each through one of the image
// macros or by name. One image and 5 MB is the plain shader the others are
// held to. Image names are "image<N>", or with `prefix` "i." "i.<N>", which
// are not identifiers; with `chained` they are "n<N>.tex<N-1>", each holding
// the sampler of the name before it. The lines read the first `named` images
// only; `irregular` opens the body with a comment holding a parenthesis after
// a macro name.
std::string image_name(const std::string& prefix, bool chained, std::size_t i) {
  if (!chained) return prefix + std::to_string(i);
  std::string number = std::to_string(i);
  number.insert(0, 6 - number.size(), '0');
  return "n" + number + (i == 0 ? "" : ".tex" + std::to_string(i - 1));
}

std::string shader_file(std::size_t images, std::size_t bytes, const std::string& prefix,
                        std::size_t named, bool irregular, bool chained = false) {
  std::string header = "/*{\n\"INPUTS\": [\n";
  for (std::size_t i = 0; i < images; ++i) {
    header += "{\"NAME\": \"" + image_name(prefix, chained, i) + "\", \"TYPE\": \"image\"},\n";
  }
  header += "{\"NAME\": \"gain\", \"TYPE\": \"float\"}\n]\n}*/\n";
  std::string body = irregular ? "// IMG_SIZE /*(*/\nvoid main() {\n" : "void main() {\n";
  for (std::size_t i = 0; body.size() < bytes; ++i) {
    const std::string image = image_name(prefix, chained, i % named);
    switch (i % 5) {
      case 0: body += "vec4 c = IMG_THIS_PIXEL(" + image + ") * gain;\n"; break;
      case 1: body += "c += IMG_NORM_PIXEL(" + image + ", uv + sin(TIME));\n"; break;
      case 2: body += "c += IMG_PIXEL(" + image + ", gl_FragCoord.xy);\n"; break;
      case 3: body += "float r = length(IMG_SIZE(" + image + ")) / RENDERSIZE.x;\n"; break;
      default: body += "c += texture2D(" + image + ", uv);\n"; break;
    }
  }
  return header + body + "}\n";
}

// Times the conversion of a whole shader file, on a fresh copy each time.
void time_conversion(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    state.PauseTiming();
    std::string copy = file;
    state.ResumeTiming();
    convert::SourceConversion converted = convert::convert_source(std::move(copy));
    benchmark::DoNotOptimize(converted);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

template <std::size_t Images, std::size_t Megabytes, bool Dotted = false, std::size_t Named = Images,
          bool Irregular = false, bool Chained = false>
void convert(benchmark::State& state) {
  const std::string file =
      shader_file(Images, Megabytes << 20, Dotted ? "i." : "image", Named, Irregular, Chained);
  time_conversion(state, file);
}

BENCHMARK(convert<1, 5>)->Name("ConvertPlain5MB")->Unit(benchmark::kMillisecond);
BENCHMARK(convert<20000, 1>)->Name("Convert20000Images1MB")->Unit(benchmark::kMillisecond);
BENCHMARK(convert<2000, 4>)->Name("Convert2000Images4MB")->Unit(benchmark::kMillisecond);
BENCHMARK(convert<20000, 1, true>)->Name("Convert20000DottedImages1MB")->Unit(benchmark::kMillisecond);
BENCHMARK(convert<2000, 4, true>)->Name("Convert2000DottedImages4MB")->Unit(benchmark::kMillisecond);
// Names each holding the sampler of the one before: the body names the first,
// and then all 2 000, so that each renaming writes the sampler the next name
// holds.
BENCHMARK(convert<20000, 1, false, 1, false, true>)
    ->Name("Convert20000ChainedImages1MBNaming1")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(convert<2000, 1, false, 2000, false, true>)
    ->Name("Convert2000ChainedImages1MB")
    ->Unit(benchmark::kMillisecond);
// Irregular bodies: each image whose name the body holds reads the whole body.
BENCHMARK(convert<20000, 1, false, 10, true>)
    ->Name("Convert20000ImagesIrregular1MBNaming10")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(convert<20, 1, false, 20, true>)
    ->Name("Convert20ImagesIrregular1MB")
    ->Unit(benchmark::kMillisecond);

// One cluster of nested calls naming every image: each call reads the next
// image through the call in its second argument.
template <std::size_t Images, std::size_t Megabytes>
void convert_nested(benchmark::State& state) {
  std::string header = "/*{\n\"INPUTS\": [\n";
  for (std::size_t i = 0; i < Images; ++i) {
    header += "{\"NAME\": \"image" + std::to_string(i) + "\", \"TYPE\": \"image\"},\n";
  }
  header += "{\"NAME\": \"gain\", \"TYPE\": \"float\"}\n]\n}*/\n";
  std::string body = "void main() {\n";
  while (body.size() < (Megabytes << 20)) {
    std::string opened, closed;
    for (std::size_t i = 0; i < Images; ++i) {
      opened += (i % 2 ? "IMG_PIXEL(image" : "IMG_NORM_PIXEL(image") + std::to_string(i) + ", ";
      closed += i + 1 < Images ? ").xy" : ")";
    }
    body += "vec4 c = " + opened + "uv" + closed + " * gain;\n";
  }
  const std::string file = header + body + "}\n";
  time_conversion(state, file);
}

BENCHMARK(convert_nested<20000, 1>)->Name("Convert20000ImagesNested1MB")->Unit(benchmark::kMillisecond);
BENCHMARK(convert_nested<2000, 4>)->Name("Convert2000ImagesNested4MB")->Unit(benchmark::kMillisecond);

#define SIZES Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)

BENCHMARK(rewrite<realistic, &kOneImage>)->Name("Realistic")->SIZES;
BENCHMARK(rewrite<realistic, &kNoImages>)->Name("RealisticNoImages")->SIZES;
BENCHMARK(rewrite<one_line, &kOneImage>)->Name("OneLine")->SIZES;
BENCHMARK(rewrite<unclosed_size_calls, &kOneImage>)->Name("UnclosedSizeCalls")->SIZES;
BENCHMARK(rewrite<nested_pixel_calls, &kOneImage>)->Name("NestedPixelCalls")->SIZES;
BENCHMARK(rewrite<nested_image_calls, &kOneImage>)->Name("NestedImageCalls")->SIZES;
BENCHMARK(rewrite<main_tokens, &kNoImages>)->Name("MainTokens")->SIZES;
BENCHMARK(rewrite<builtin_prefixes, &kOneImage>)->Name("BuiltinPrefixes")->SIZES;
BENCHMARK(rewrite<spaced_comment_chain, &kOneImage>)->Name("SpacedCommentChain")->SIZES;
BENCHMARK(rewrite<nested_comment_chain, &kOneImage>)->Name("NestedCommentChain")->SIZES;

}  // namespace

BENCHMARK_MAIN();
