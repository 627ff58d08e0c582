// Inflating the zlib body of a compressed movie, never past a caller's limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace swf {

// Inflates `source` (one zlib stream) into at most `limit` bytes. A stream that ends early gives what
// it held, so a truncated download reads like an uncompressed file cut at the same place; corrupt data
// or output that would pass `limit` throws FormatError.
std::vector<uint8_t> Inflate(std::span<const uint8_t> source, size_t limit);

}  // namespace swf
