// Writes one hostile shader file for scripts/hostile-input.sh: huge, deeply
// nested, over-long, badly encoded or random input that the tool must
// convert or refuse within bounded time and memory. Usage:
//   make_hostile_input <case> <file>     (cases: see the table in main)
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>

namespace {

constexpr std::size_t megabyte = 1024 * 1024;

// Writes in large pieces so that a 200 MB case never sits whole in memory.
class Writer {
 public:
  explicit Writer(const std::string& path) : file_(path, std::ios::binary | std::ios::trunc) {}
  bool ok() const { return static_cast<bool>(file_); }
  Writer& operator<<(const std::string& text) {
    buffer_ += text;
    if (buffer_.size() >= megabyte) flush();
    written_ += text.size();
    return *this;
  }
  std::size_t written() const { return written_; }
  void flush() {
    file_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  std::ofstream file_;
  std::string buffer_;
  std::size_t written_ = 0;
};

const std::string image_and_float_header =
    "/*{\n"
    "  \"DESCRIPTION\": \"hostile input\",\n"
    "  \"INPUTS\": [\n"
    "    {\"NAME\": \"inputImage\", \"TYPE\": \"image\"},\n"
    "    {\"NAME\": \"amount\", \"TYPE\": \"float\", \"MIN\": 0.0, \"MAX\": 1.0, \"DEFAULT\": 0.5}\n"
    "  ]\n"
    "}*/\n";

// A realistic body of about `size` bytes: many lines using every rewrite.
void realistic_body(Writer& out, std::size_t size, const std::string& line_end) {
  out << "void main() {" + line_end;
  out << "  vec4 c = IMG_THIS_PIXEL(inputImage);" + line_end;
  const std::string lines[] = {
      "  c += IMG_PIXEL(inputImage, gl_FragCoord.xy + vec2(1.0, 0.0)) * amount;",
      "  c += IMG_NORM_PIXEL(inputImage, isf_FragNormCoord + 0.01 * sin(TIME));",
      "  c.rg += IMG_SIZE(inputImage) / RENDERSIZE * float(FRAMEINDEX) * TIMEDELTA;",
      "  // a comment that mentions main and TIME on the way",
  };
  for (std::size_t i = 0; out.written() < size; ++i) out << lines[i % 4] + line_end;
  out << "  gl_FragColor = c;" + line_end + "}" + line_end;
}

void big_shader(Writer& out) {
  out << image_and_float_header;
  realistic_body(out, 200 * megabyte, "\n");
}

void deep_nesting(Writer& out) {
  out << "/*{\"DESCRIPTION\": \"deep\", \"INPUTS\": ";
  out << std::string(1000000, '[') << std::string(1000000, ']');
  out << "}*/\nvoid main() {\n  gl_FragColor = vec4(TIME);\n}\n";
}

void many_inputs(Writer& out) {
  out << "/*{\n\"DESCRIPTION\": \"many inputs\",\n\"INPUTS\": [\n";
  for (int i = 0; i < 100000; ++i) {
    out << std::string(i ? ",\n" : "") + "{\"NAME\": \"p" + std::to_string(i) +
               "\", \"TYPE\": \"float\", \"MIN\": 0.0, \"MAX\": " + std::to_string(i) +
               ".5, \"DEFAULT\": 0.25}";
  }
  out << "\n]\n}*/\nvoid main() {\n  gl_FragColor = vec4(p0, p1, p99999, TIME);\n}\n";
}

void many_images(Writer& out) {
  out << "/*{\n\"DESCRIPTION\": \"many images\",\n\"INPUTS\": [\n";
  for (int i = 0; i < 1000; ++i)
    out << std::string(i ? ",\n" : "") + "{\"NAME\": \"image" + std::to_string(i) + "\", \"TYPE\": \"image\"}";
  out << "\n]\n}*/\nvoid main() {\n  vec4 c = vec4(0.0);\n";
  for (int i = 0; out.written() < megabyte; ++i) {
    std::string image = "image" + std::to_string(i % 1000);
    out << "  c += IMG_PIXEL(" + image + ", gl_FragCoord.xy) + IMG_NORM_PIXEL(" + image +
               ", isf_FragNormCoord) * IMG_SIZE(" + image + ").x + IMG_THIS_PIXEL(" + image + ");\n";
  }
  out << "  gl_FragColor = c;\n}\n";
}

// One nest of calls naming 20 000 images, each call reading the next image
// through the call in its second argument.
void nested_images(Writer& out) {
  constexpr int kImages = 20000;
  out << "/*{\n\"INPUTS\": [\n";
  for (int i = 0; i < kImages; ++i)
    out << std::string(i ? ",\n" : "") + "{\"NAME\": \"image" + std::to_string(i) + "\", \"TYPE\": \"image\"}";
  out << "\n]\n}*/\nvoid main() {\n  gl_FragColor = ";
  for (int i = 0; i < kImages; ++i) {
    out << std::string(i % 2 ? "IMG_PIXEL(image" : "IMG_NORM_PIXEL(image") + std::to_string(i) + ", ";
  }
  out << "isf_FragNormCoord";
  for (int i = 0; i < kImages; ++i) out << std::string(i + 1 < kImages ? ").xy" : ")");
  out << ";\n}\n";
}

// 50 000 events tested as conditions and 50 000 points that the body
// declares again: each is rewritten in one reading of the body.
void events_and_points(Writer& out) {
  constexpr int kEach = 50000;
  out << "/*{\n\"INPUTS\": [\n";
  for (int i = 0; i < kEach; ++i) {
    const std::string n = std::to_string(i);
    out << std::string(i ? ",\n" : "") + "{\"NAME\": \"e" + n + "\", \"TYPE\": \"event\"},\n" +
               "{\"NAME\": \"p" + n + "\", \"TYPE\": \"point2D\"}";
  }
  out << "\n]\n}*/\n";
  for (int i = 0; i < kEach; ++i) out << "float f" + std::to_string(i) + "(vec2 p" + std::to_string(i) + ") { return p" + std::to_string(i) + ".x; }\n";
  out << "void main() {\n  float c = 0.0;\n";
  for (int i = 0; i < kEach; ++i) out << "  if (e" + std::to_string(i) + ") c += f" + std::to_string(i) + "(p" + std::to_string(i) + ");\n";
  out << "  gl_FragColor = vec4(c);\n}\n";
}

void long_line(Writer& out) {
  out << image_and_float_header;
  out << "void main() { vec4 c = vec4(0.0); ";
  while (out.written() < 50 * megabyte)
    out << "c += IMG_NORM_PIXEL(inputImage, vec2(0.5)) * amount * TIME; ";
  out << "gl_FragColor = c; }";
}

void invalid_utf8(Writer& out) {
  const std::string bad[] = {"\xC3\x28", "\xA0\xA1", "\xE2\x28\xA1", "\xF0\x28\x8C\x28", "\xFF",
                             "\xC0\xAF", "\xED\xA0\x80"};
  out << "/*{\n\"DESCRIPTION\": \"bad " + bad[0] + bad[4] + "\",\n\"INPUTS\": [{\"NAME\": \"n" +
             bad[1] + "\", \"TYPE\": \"float\"}]\n}*/\nvoid main() {\n";
  for (std::size_t i = 0; out.written() < 4 * megabyte; ++i)
    out << "  float v" + bad[i % 7] + " = TIME" + bad[(i + 3) % 7] + "; // " + bad[(i + 5) % 7] + "\n";
  out << "}\n";
}

void nul_bytes(Writer& out) {
  const std::string nul(1, '\0');
  out << "/*{\n\"DESCRIPTION\": \"nul" + nul + "inside\",\n\"INPUTS\": [{\"NAME\": \"a" + nul +
             "b\", \"TYPE\": \"float\"}]\n}*/\nvoid main() {\n";
  for (std::size_t i = 0; out.written() < 4 * megabyte; ++i)
    out << "  gl_FragColor = vec4(TIME" + nul + "); " + nul + nul + "\n";
  out << "}\n";
}

void cr_only(Writer& out) {
  out << "/*{\r\"DESCRIPTION\": \"old line ends\",\r\"INPUTS\": [{\"NAME\": \"inputImage\", "
         "\"TYPE\": \"image\"}]\r}*/\r";
  realistic_body(out, 4 * megabyte, "\r");
}

void utf16(Writer& out) {
  std::string text = image_and_float_header;
  for (int i = 0; i < 20000; ++i) text += "void f" + std::to_string(i) + "() { gl_FragColor = vec4(TIME); }\n";
  text += "void main() { gl_FragColor = IMG_THIS_PIXEL(inputImage); }\n";
  std::string wide = "\xFF\xFE";
  for (char c : text) {
    wide += c;
    wide += '\0';
  }
  out << wide;
}

void random_bytes(Writer& out) {
  std::mt19937_64 random(20240607);
  std::string block(megabyte, '\0');
  for (int i = 0; i < 16; ++i) {
    for (char& c : block) c = static_cast<char>(random() & 0xFF);
    out << block;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::map<std::string, std::function<void(Writer&)>> cases = {
      {"big_shader", big_shader},     {"deep_nesting", deep_nesting}, {"many_inputs", many_inputs},
      {"many_images", many_images},   {"nested_images", nested_images}, {"events_and_points", events_and_points}, {"long_line", long_line},       {"invalid_utf8", invalid_utf8},
      {"nul_bytes", nul_bytes},       {"cr_only", cr_only},           {"utf16", utf16},
      {"random_bytes", random_bytes},
  };
  if (argc != 3 || cases.count(argv[1]) == 0) {
    std::fprintf(stderr, "usage: make_hostile_input <case> <file>; cases:");
    for (const auto& c : cases) std::fprintf(stderr, " %s", c.first.c_str());
    std::fprintf(stderr, "\n");
    return 2;
  }
  Writer out(argv[2]);
  cases.at(argv[1])(out);
  out.flush();
  if (!out.ok()) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
