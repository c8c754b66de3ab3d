// MD5 message digest (RFC 1321).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace isf {

using Md5Digest = std::array<std::uint8_t, 16>;

Md5Digest md5(std::string_view message);

}  // namespace isf
