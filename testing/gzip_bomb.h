// A gzip body that inflates about 160-fold, for the tests of the limits on undone bodies:
// fixed-code deflate blocks, each a run of zeros as copies of the byte before. Its trailer
// is not valid, so a client that inflated it all would fail anyway, though not as "too large".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vardelle::testing {

// Writes deflate's bits from the least significant end of each byte.
class DeflateBits {
 public:
  void Put(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) PutBit((value >> i) & 1);
  }
  // Huffman codes go from their most significant bit.
  void PutCode(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) PutBit((code >> i) & 1);
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  void PutBit(std::uint32_t bit) {
    if (used_ % 8 == 0) bytes_.push_back('\0');
    bytes_.back() = static_cast<char>(bytes_.back() | (bit << (used_ % 8)));
    ++used_;
  }
  std::string bytes_;
  std::size_t used_ = 0;
};

// 6 copies of 258 bytes per block keep every block a whole number of bytes (13 bits a copy).
inline constexpr int kCopiesPerBlock = 6;
inline constexpr std::size_t kBytesPerBlock = kCopiesPerBlock * 258;

// One fixed-code block: a zero literal first when asked, then the copies.
inline std::string ZeroBlock(bool withLiteral, bool final) {
  DeflateBits bits;
  bits.Put(final ? 1 : 0, 1);
  bits.Put(1, 2);                          // fixed codes
  if (withLiteral) bits.PutCode(0x30, 8);  // literal 0
  for (int i = 0; i < kCopiesPerBlock; ++i) {
    bits.PutCode(0xC5, 8);  // length 258
    bits.PutCode(0, 5);     // distance 1
  }
  bits.PutCode(0, 7);  // end of block
  return bits.Bytes();
}

// The gzip header and the first block.
inline std::string GzipBombStart() {
  return std::string("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\xFF", 10) + ZeroBlock(true, false);
}

// A block that may follow any other, any number of times.
inline std::string GzipBombBlock() { return ZeroBlock(false, false); }

// A whole body inflating to at least `inflated` bytes.
inline std::string GzipBomb(std::size_t inflated) {
  std::string body = GzipBombStart();
  const std::string block = GzipBombBlock();
  for (std::size_t done = kBytesPerBlock; done < inflated; done += kBytesPerBlock) body += block;
  return body + ZeroBlock(false, true) + std::string(8, '\0');
}

}  // namespace vardelle::testing
