// The header members that a page about a shader shows (credit, description,
// categories) and those that explain a failed compile (the inputs with their
// types, the IMPORTED images), picked from the members the conversion read.
#pragma once

#include <string>
#include <vector>

#include "isf/header.h"

namespace convert {

// One ISF input as the header names it.
struct HeaderInput {
  std::string name;
  std::string type;  // the TYPE text as written
};

struct HeaderFacts {
  std::string credit;
  std::string description;
  std::vector<std::string> categories;
  std::vector<HeaderInput> inputs;
  std::vector<std::string> imported;  // names of IMPORTED images
};

// Members and elements of an unexpected JSON type are skipped, never
// guessed at; nothing here throws the library's errors.
HeaderFacts header_facts(const isf::HeaderMembers& members);

}  // namespace convert
