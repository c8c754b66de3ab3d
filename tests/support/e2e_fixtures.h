// What the end-to-end tests share: a minimal shader that converts without a
// message, and the success line the tool prints for a converted shader.
#pragma once

#include <string>

namespace test_support {

inline const std::string flat_shader =
    "/*{\n\"DESCRIPTION\": \"flat\"\n}*/\nvoid main() {\n  gl_FragColor = vec4(1.0);\n}\n";

inline std::string processed(const std::string& path) {
  return "Successfully Processed " + path + "\n";
}

}  // namespace test_support
