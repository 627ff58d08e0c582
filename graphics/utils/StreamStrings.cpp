#include "graphics/utils/StreamStrings.h"

#include <algorithm>
#include <cstdint>

namespace {

// Characters are read in blocks, so a damaged count costs no more memory than the stream holds.
constexpr int32_t ReadBlock = 64 * 1024;

}  // namespace

AnsiString ReadString(TStream& Stream)
{
  uint8_t count[4] = {};
  Stream.Read(count, sizeof(count));
  const auto length = static_cast<int32_t>(count[0] | count[1] << 8 | count[2] << 16 |
                                           static_cast<uint32_t>(count[3]) << 24);
  AnsiString result;
  while (static_cast<int64_t>(result.size()) < length) {
    const size_t start = result.size();
    const auto wanted =
      static_cast<int32_t>(std::min<int64_t>(ReadBlock, length - static_cast<int64_t>(start)));
    result.resize(start + static_cast<size_t>(wanted));
    const int32_t read = std::max(Stream.Read(result.data() + start, wanted), 0);
    result.resize(start + static_cast<size_t>(read));
    if (read < wanted) break;
  }
  return result;
}

void WriteString(TStream& Stream, const AnsiString& S)
{
  const auto length = static_cast<uint32_t>(S.size());
  const uint8_t count[4] = {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                            static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 24)};
  Stream.WriteBuffer(count, sizeof(count));
  Stream.WriteBuffer(S.data(), static_cast<int32_t>(S.size()));
}
