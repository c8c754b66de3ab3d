// A folder's listing as a set of folded names.
#include "driver/listed_folder.h"

#include <utility>

namespace driver {
namespace {

// ASCII letters in lower case; false when a byte is outside ASCII.
bool fold(std::string& name) {
  for (char& c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return true;
}

}  // namespace

ListedFolder listed_folder(std::string path, const std::vector<platform::DirectoryEntry>& entries) {
  ListedFolder folder{std::move(path), {}};
  folder.names.reserve(entries.size());
  for (const platform::DirectoryEntry& entry : entries) {
    std::string name = entry.name;
    fold(name);
    folder.names.insert(std::move(name));
  }
  return folder;
}

bool may_exist(const ListedFolder& folder, const std::string& path) {
  if (path.size() <= folder.path.size() || path.compare(0, folder.path.size(), folder.path) != 0)
    return true;
  std::string name = path.substr(folder.path.size());
  if (name.find('/') != std::string::npos || name.find(platform::separator) != std::string::npos)
    return true;
  return !fold(name) || folder.names.count(name) != 0;
}

}  // namespace driver
