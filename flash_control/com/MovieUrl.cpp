#include "flash_control/com/MovieUrl.h"

#include <string>

#include "flash_control/com/PropertyText.h"
#include "flash_control/com/Utf8.h"

namespace flash_control {

namespace {

int HexValue(char16_t c)
{
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// %XX escapes are bytes of UTF-8 text; everything else is taken as it stands.
std::u16string PercentDecode(std::u16string_view text)
{
  std::string bytes;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 3;
      continue;
    }
    size_t end = text.find(u'%', i + 1);
    if (end == std::u16string_view::npos) end = text.size();
    bytes += ToUtf8(text.substr(i, end - i));
    i = end;
  }
  return FromUtf8(bytes);
}

bool IsSeparator(char16_t c)
{
  return c == u'/' || c == u'\\';
}

bool IsLetter(char16_t c)
{
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool StartsWithDrive(std::u16string_view path)
{
  return path.size() >= 2 && IsLetter(path[0]) && path[1] == u':';
}

// The length of a scheme of two or more letters before ':'; a single letter is a drive.
size_t SchemeLength(std::u16string_view url)
{
  size_t n = 0;
  while (n < url.size() &&
         (IsLetter(url[n]) || (n > 0 && ((url[n] >= u'0' && url[n] <= u'9') || url[n] == u'+' ||
                                         url[n] == u'-' || url[n] == u'.'))))
    ++n;
  return n >= 2 && n < url.size() && url[n] == u':' ? n : 0;
}

// The local path named by the part of a file: URL after "file:".
std::u16string FileUrlPath(std::u16string_view rest)
{
  std::u16string path(rest);
  for (char16_t& c : path)
    if (c == u'\\') c = u'/';
  if (path.starts_with(u"//")) {
    const size_t slash = path.find(u'/', 2);
    const std::u16string_view host = std::u16string_view(path).substr(
      2, slash == std::u16string::npos ? std::u16string::npos : slash - 2);
    if (!host.empty() && !SameText(host, u"localhost"))
      return PercentDecode(path);  // //server/share
    path.erase(0, slash == std::u16string::npos ? path.size() : slash);
  }
  std::u16string decoded = PercentDecode(path);
  if (decoded.size() >= 3 && decoded[0] == u'/' &&
      StartsWithDrive(std::u16string_view(decoded).substr(1)))
    decoded.erase(0, 1);
  return decoded;
}

}  // namespace

std::optional<TMovieUrl> ParseMovieUrl(std::u16string_view url)
{
  const size_t question = url.find(u'?');
  const std::u16string_view location = url.substr(0, question);
  TMovieUrl result;
  if (question != std::u16string_view::npos) result.Query = ParseQuery(url.substr(question + 1));

  if (const size_t scheme = SchemeLength(location); scheme > 0) {
    if (!SameText(location.substr(0, scheme), u"file")) return std::nullopt;
    result.Path = FileUrlPath(location.substr(scheme + 1));
  } else {
    result.Path = location;
  }
  if (result.Path.empty()) return std::nullopt;
  return result;
}

TVariables ParseQuery(std::u16string_view query)
{
  TVariables variables;
  while (!query.empty()) {
    const size_t amp = query.find(u'&');
    const std::u16string_view pair = query.substr(0, amp);
    const size_t equals = pair.find(u'=');
    std::u16string name = PercentDecode(pair.substr(0, equals));
    if (!name.empty())
      variables.emplace_back(std::move(name), equals == std::u16string_view::npos
                                                ? std::u16string()
                                                : PercentDecode(pair.substr(equals + 1)));
    if (amp == std::u16string_view::npos) break;
    query.remove_prefix(amp + 1);
  }
  return variables;
}

std::u16string ResolvePath(std::u16string_view base, std::u16string_view path)
{
  const bool absolute = StartsWithDrive(path) || (!path.empty() && IsSeparator(path[0]));
  if (absolute || base.empty()) return std::u16string(path);
  const std::optional<TMovieUrl> folder = ParseMovieUrl(base);
  if (!folder) return std::u16string(path);
  std::u16string joined = folder->Path;
  if (!IsSeparator(joined.back())) joined += u'\\';
  return joined + std::u16string(path);
}

}  // namespace flash_control
