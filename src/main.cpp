// isf2orvy: converts ISF shaders into the ORVANE host's GLSL plug-in text.
#include <string>
#include <vector>

#include "driver/batch.h"

int main(int argc, char** argv) {
  return driver::run(std::vector<std::string>(argv, argv + argc));
}
