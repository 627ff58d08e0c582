#include "flash_control/swf/format/Inflate.h"

#include <zlib.h>

#include <limits>

#include "flash_control/swf/format/Reader.h"

namespace swf {

namespace {

// Owns a zlib inflate state so it is ended on every path.
class InflateStream {
public:
  InflateStream()
  {
    if (inflateInit(&stream_) != Z_OK)
      throw FormatError("cannot start inflating");
  }
  ~InflateStream() { inflateEnd(&stream_); }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  z_stream* operator->() { return &stream_; }
  z_stream* get() { return &stream_; }

private:
  z_stream stream_{};
};

}  // namespace

std::vector<uint8_t> Inflate(std::span<const uint8_t> source, size_t limit)
{
  if (source.size() > std::numeric_limits<uInt>::max())
    throw FormatError("compressed body too large");
  InflateStream stream;
  stream->next_in = const_cast<Bytef*>(source.data());
  stream->avail_in = static_cast<uInt>(source.size());

  std::vector<uint8_t> out;
  std::vector<uint8_t> chunk(64 * 1024);
  for (;;) {
    stream->next_out = chunk.data();
    stream->avail_out = static_cast<uInt>(chunk.size());
    const int status = inflate(stream.get(), Z_NO_FLUSH);
    const size_t produced = chunk.size() - stream->avail_out;
    if (produced > limit - out.size())
      throw FormatError("compressed body inflates past the size limit");
    out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<ptrdiff_t>(produced));
    if (status == Z_STREAM_END || status == Z_BUF_ERROR)
      break;  // Z_BUF_ERROR: the input ran out before the stream ended
    if (status != Z_OK)
      throw FormatError("corrupt compressed body");
  }
  return out;
}

}  // namespace swf
