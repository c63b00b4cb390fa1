#include "platform/audio/short_path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool NeedsAlias(const std::string& name) { return name.find(' ') != std::string::npos; }

std::string Squeezed(const std::string& text, std::size_t limit) {
  std::string out;
  for (char c : text) {
    if (c == ' ' || c == '.' || c == '"') continue;
    if (out.size() == limit) break;
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

// The alias of `name` without its number: base and extension.
std::pair<std::string, std::string> AliasStem(const std::string& name) {
  const std::size_t dot = name.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && dot > 0;
  return {Squeezed(hasExtension ? name.substr(0, dot) : name, 6),
          hasExtension ? Squeezed(name.substr(dot + 1), 3) : std::string()};
}

// The alias of `name` among the names of `folder`: names that need one and share its stem
// are numbered in sorted order.
std::string AliasIn(const fs::path& folder, const std::string& name) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  const auto stem = AliasStem(name);
  int number = 0;
  for (const std::string& other : names) {
    if (NeedsAlias(other) && AliasStem(other) == stem) ++number;
    if (other == name) break;
  }
  std::string alias = stem.first + "~" + std::to_string(std::max(number, 1));
  return stem.second.empty() ? alias : alias + "." + stem.second;
}

}  // namespace

std::string ShortPathOf(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !fs::exists(path, ec)) return {};
  fs::path walked, shortened;
  for (const fs::path& part : fs::path(path)) {
    const std::string name = part.string();
    shortened /= NeedsAlias(name) ? AliasIn(walked, name) : name;
    walked /= part;
  }
  return shortened.string();
}

std::string ResolveShortPath(const std::string& path) {
  std::error_code ec;
  if (path.find('~') == std::string::npos || fs::exists(path, ec)) return path;
  fs::path resolved;
  for (const fs::path& part : fs::path(path)) {
    const std::string name = part.string();
    fs::path next = resolved / part;
    if (name.find('~') != std::string::npos && !fs::exists(next, ec)) {
      for (const auto& entry : fs::directory_iterator(resolved.empty() ? "." : resolved, ec)) {
        const std::string candidate = entry.path().filename().string();
        if (NeedsAlias(candidate) && AliasIn(resolved, candidate) == name) {
          next = resolved / candidate;
          break;
        }
      }
    }
    resolved = next;
  }
  return resolved.string();
}
