// A bounds-checked little-endian reader over a byte block, with the MSB-first bit fields that movie
// files use. Every read that would pass the end throws FormatError; nothing reads outside the block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace swf {

// A movie (or a part of it) that does not have the structure its tags promise.
class FormatError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class Reader {
public:
  explicit Reader(std::span<const uint8_t> data) : data_(data) {}

  size_t Position() const { return pos_; }
  size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  int16_t S16() { return static_cast<int16_t>(U16()); }
  // A zero-terminated text; the terminator is consumed, not returned.
  std::string String();
  std::span<const uint8_t> Bytes(size_t count);
  void Skip(size_t count) { Bytes(count); }
  // A reader over the next `count` bytes; this reader moves past them.
  Reader Sub(size_t count) { return Reader(Bytes(count)); }

  // Bit fields: `count` is at most 32. A byte read after bit reads starts at the next whole byte.
  uint32_t UBits(unsigned count);
  int32_t SBits(unsigned count);
  // A signed 16.16 fixed-point field of `count` bits.
  int32_t FBits(unsigned count) { return SBits(count); }
  void AlignBits() { bitCount_ = 0; }

private:
  void Need(size_t count) const;

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  uint32_t bitBuffer_ = 0;
  unsigned bitCount_ = 0;
};

}  // namespace swf
