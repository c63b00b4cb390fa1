#include "platform/audio/short_path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A name that a command cannot carry as it is: a blank or a tab ends a word, a quote opens one.
bool NeedsAlias(const std::string& name) {
  return name.find_first_of(" \t\"") != std::string::npos;
}

// A name longer than eight letters, a dot and three. It has an alias too, which a path takes
// only when it would not fit otherwise.
bool IsLong(const std::string& name) {
  if (name == "." || name == "..") return false;
  const std::size_t dot = name.find('.');
  if (dot == std::string::npos) return name.size() > 8;
  return dot > 8 || name.size() - dot - 1 > 3 || name.find('.', dot + 1) != std::string::npos;
}

bool HasAlias(const std::string& name) { return NeedsAlias(name) || IsLong(name); }

std::string Squeezed(const std::string& text, std::size_t limit) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == ' ' || c == '.' || c == '"' || c == '\\' || byte < 0x20 || byte == 0x7F) continue;
    if (out.size() == limit) break;
    out += static_cast<char>(std::toupper(byte));
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

std::string Alias(const std::pair<std::string, std::string>& stem, int number) {
  const std::string alias = stem.first + "~" + std::to_string(number);
  return stem.second.empty() ? alias : alias + "." + stem.second;
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The names of `folder` that have an alias, by alias: names that share a stem are numbered
// in sorted order, passing over a number whose alias the folder already holds as a name.
// Names match without regard to case, as the system's do: a "mygame~1" rules out "MYGAME~1".
std::map<std::string, std::string> NamesByAlias(const fs::path& folder) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder.empty() ? "." : folder, ec)) {
    names.push_back(entry.path().filename().string());
    taken.insert(UpperCase(names.back()));
  }
  std::sort(names.begin(), names.end());
  std::map<std::pair<std::string, std::string>, int> numbers;
  std::map<std::string, std::string> byAlias;
  for (const std::string& name : names) {
    if (!HasAlias(name)) continue;
    const auto stem = AliasStem(name);
    std::string alias;
    do alias = Alias(stem, ++numbers[stem]);
    while (taken.contains(alias));
    byAlias.emplace(alias, name);
  }
  return byAlias;
}

// The alias of `name` among the names of `folder`.
std::string AliasIn(const fs::path& folder, const std::string& name) {
  for (const auto& [alias, named] : NamesByAlias(folder))
    if (named == name) return alias;
  return Alias(AliasStem(name), 1);  // gone meanwhile
}

}  // namespace

std::string ShortPathOf(const std::string& path, bool everyLongName) {
  std::error_code ec;
  if (path.empty() || !fs::exists(path, ec)) return {};
  fs::path walked, shortened;
  for (const fs::path& part : fs::path(path)) {
    const std::string name = part.string();
    const bool alias = NeedsAlias(name) || (everyLongName && IsLong(name));
    shortened /= alias ? AliasIn(walked, name) : name;
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
      const auto names = NamesByAlias(resolved);
      if (const auto found = names.find(name); found != names.end())
        next = resolved / found->second;
    }
    resolved = next;
  }
  return resolved.string();
}
