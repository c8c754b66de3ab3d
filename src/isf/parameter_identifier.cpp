// The host identifies each plug-in parameter by four printable characters.
// They are folded from the MD5 digest of the parameter's name, so the same
// name gets the same identifier in every shader and every run.
#include "isf/parameter_identifier.h"

#include "isf/md5.h"

namespace isf {

const std::string_view identifier_alphabet =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz#$%&*+-/<=>?[\\]^_{|}~";

std::string parameter_identifier(std::string_view name) {
  name = name.substr(0, name.find('\0'));
  Md5Digest digest = md5(name);
  // Each accumulator holds a character code, not an alphabet position: the
  // character chosen by one step feeds the next step's sum.
  unsigned codes[4] = {0, 0, 0, 0};
  for (std::size_t i = 0; i < digest.size(); ++i) {
    unsigned& code = codes[i % 4];
    code = static_cast<unsigned char>(identifier_alphabet[(code + digest[i]) % identifier_alphabet.size()]);
  }
  std::string identifier;
  for (unsigned code : codes) identifier += static_cast<char>(code);
  return identifier;
}

}  // namespace isf
