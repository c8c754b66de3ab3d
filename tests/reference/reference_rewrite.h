// This reading of the body-rewriting rules exists only to check the engine
// in src/glsl: the differential tests and the rewriting fuzzer compare the
// engine's output with it. Each rule is applied the most direct way, one
// step after another, rescanning freely, so it is slow on large or hostile
// bodies and is never part of the tool.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "glsl/calls/macro_rewrite.h"

namespace reference {

// The text as a NUL-terminated string sees it: up to its first NUL.
std::string up_to_nul(std::string_view text);

// From `at`, past white space and block comments as often as they follow
// each other.
std::size_t skip_blanks_and_comments(std::string_view text, std::size_t at);

bool find_whole_word(std::string_view text, std::string_view word, std::size_t& position);

std::string replace_whole_word(std::string_view text, std::string_view old_name,
                               std::string_view new_name, bool& replaced);

std::string rewrite_image_macro(std::string_view text, const glsl::MacroRewrite& rewrite,
                                bool& replaced);

std::string insert_into_main(std::string_view body, std::string_view prologue);

// The whole last stage: normalised coordinate, image passes, built-ins, image
// names, prologue and the joining of the blocks with the body.
std::string rewrite_and_assemble(std::string body, const std::string& comment_block,
                                 const std::string& define_block, std::string uniform_block,
                                 const std::map<std::string, std::string>& image_table);

}  // namespace reference
