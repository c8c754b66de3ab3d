// The names a folder held when the batch listed it, kept to answer "can a
// file of this name be there?" without asking the file system again. Names
// are compared with ASCII letters folded to one case, so that a folder on a
// file system that ignores case answers as the file system would.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace driver {

struct ListedFolder {
  std::string path;  // ends in the separator
  // A 64-bit hash of each folded name, sorted. Two names that share a hash
  // only make a lookup that was not needed; none is ever missed.
  std::vector<std::uint64_t> names;
};

ListedFolder listed_folder(std::string path, const std::vector<platform::DirectoryEntry>& entries);

// False only when `path` names an entry directly inside the folder and no
// listed name matches it: then nothing of that name was there when listed.
// A name with a byte outside ASCII may match in ways the listing cannot
// tell (case folding beyond ASCII), so it is never ruled out.
bool may_exist(const ListedFolder& folder, std::string_view path);

}  // namespace driver
