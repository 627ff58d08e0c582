// ByteWriter: the little-endian byte stream and the most-significant-bit-first bit fields of an SWF
// file. A byte-sized write first pads any pending bit field to the next whole byte, which is how
// SWF records that mix bit fields and bytes are laid out.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace swfwriter {

using Bytes = std::vector<uint8_t>;

// Bits needed to hold a value as an unsigned field; 0 needs none.
int UnsignedBits(uint32_t value);
// Bits needed to hold a value as a two's-complement field; 0 needs none, -1 needs one.
int SignedBits(int32_t value);

class ByteWriter {
public:
  void U8(uint8_t value);
  void U16(uint16_t value);
  void U32(uint32_t value);
  void S16(int16_t value) { U16(static_cast<uint16_t>(value)); }
  // The text and its terminating zero byte.
  void String(std::string_view text);
  void Append(std::span<const uint8_t> bytes);

  // The low `count` bits of value, most significant first; count 0 writes nothing.
  void UB(uint32_t value, int count);
  void SB(int32_t value, int count) { UB(static_cast<uint32_t>(value), count); }
  // A field count stored in `width` bits; a count that does not fit is an error, not a silent wrap.
  void BitCount(int count, int width);
  void Align();

  // Current length in whole bytes (a pending bit field counts as one byte).
  size_t Size() const { return FData.size(); }
  // Overwrites a 16-bit value already written, for lengths known only later.
  void PatchU16(size_t offset, uint16_t value);
  const Bytes& Data() const { return FData; }
  Bytes Take();

private:
  Bytes FData;
  int FBitsFree = 0;  // unused low bits of the last byte, while a bit field is pending
};

}  // namespace swfwriter
