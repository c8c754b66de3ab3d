// isf2orvy-gallery: converts a library of ISF shaders, compiles and renders
// the results as the host would, and shows them on one static page.
#include <string>
#include <vector>

#include "run_gallery.h"

int main(int argc, char** argv) {
  return gallery::run_gallery(std::vector<std::string>(argv + 1, argv + argc));
}
