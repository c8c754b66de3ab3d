// A folder's listing as a sorted table of folded-name hashes: one pass over
// each name to build or to look up, no copy of it.
#include "driver/listed_folder.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace driver {
namespace {

// FNV-1a over the name with ASCII letters in lower case; nothing when a
// byte is outside ASCII.
std::optional<std::uint64_t> folded_hash(std::string_view name) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) return std::nullopt;
    if (byte >= 'A' && byte <= 'Z') byte = static_cast<unsigned char>(byte - 'A' + 'a');
    hash = (hash ^ byte) * 0x100000001b3u;
  }
  return hash;
}

}  // namespace

ListedFolder listed_folder(std::string path, const std::vector<platform::DirectoryEntry>& entries) {
  ListedFolder folder{std::move(path), {}};
  folder.names.reserve(entries.size());
  // A name beyond ASCII is never looked up here, so it need not be kept.
  for (const platform::DirectoryEntry& entry : entries)
    if (std::optional<std::uint64_t> hash = folded_hash(entry.name)) folder.names.push_back(*hash);
  std::sort(folder.names.begin(), folder.names.end());
  return folder;
}

bool may_exist(const ListedFolder& folder, std::string_view path) {
  if (path.size() <= folder.path.size() || path.substr(0, folder.path.size()) != folder.path)
    return true;
  std::string_view name = path.substr(folder.path.size());
  if (name.find('/') != std::string_view::npos ||
      name.find(platform::separator) != std::string_view::npos)
    return true;
  std::optional<std::uint64_t> hash = folded_hash(name);
  return !hash || std::binary_search(folder.names.begin(), folder.names.end(), *hash);
}

}  // namespace driver
