// Movie locations as the control accepts them: a local path or a file: URL, with `\` or `/`
// separators and an optional query whose name=value pairs become variables of the root timeline.
// Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace flash_control {

// Name and value pairs in their order of appearance.
using TVariables = std::vector<std::pair<std::u16string, std::u16string>>;

struct TMovieUrl {
  std::u16string Path;
  TVariables Query;

  friend bool operator==(const TMovieUrl&, const TMovieUrl&) = default;
};

// None for a URL of another scheme (the control reads local files only) or an empty path.
std::optional<TMovieUrl> ParseMovieUrl(std::u16string_view url);

// `a=1&b=2`: pairs separated by '&', percent-decoded (UTF-8). A pair without '=' has an empty
// value; a pair with an empty name is skipped. '+' stays '+': the system passes paths unescaped.
TVariables ParseQuery(std::u16string_view query);

// A relative path joined to a base folder (a path or a file: URL); an absolute path, or an empty
// or unusable base, leaves the path as it is.
std::u16string ResolvePath(std::u16string_view base, std::u16string_view path);

}  // namespace flash_control
