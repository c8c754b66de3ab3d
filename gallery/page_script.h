// The live view's script, gallery/page/live.js, built into the program so
// that an installed gallery needs no data files beside it.
#pragma once

#include <string_view>

namespace gallery {

std::string_view live_page_script();

}  // namespace gallery
