// MD5 message digest as RFC 1321 defines it: 64-byte blocks, four rounds of
// sixteen steps, little-endian words. Parameter identifiers are derived from
// it, so it must match the standard digest bit for bit.
#include "isf/md5.h"

#include <cstddef>

namespace isf {
namespace {

using Word = std::uint32_t;

// Per-step shift amounts, round by round.
constexpr int shifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

// The integer part of 2^32 * |sin(i + 1)|.
constexpr Word sines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};

Word rotate_left(Word x, int n) { return (x << n) | (x >> (32 - n)); }

struct State {
  Word a = 0x67452301, b = 0xefcdab89, c = 0x98badcfe, d = 0x10325476;
};

void process_block(State& state, const std::uint8_t* block) {
  Word m[16];
  for (int i = 0; i < 16; ++i) {
    m[i] = Word(block[4 * i]) | Word(block[4 * i + 1]) << 8 | Word(block[4 * i + 2]) << 16 |
           Word(block[4 * i + 3]) << 24;
  }
  Word a = state.a, b = state.b, c = state.c, d = state.d;
  // One step: f is the round's function of b, c and d, g the message word.
  const auto step = [&](Word f, int g, int i) {
    const Word rotated = b + rotate_left(a + f + sines[i] + m[g], shifts[i]);
    a = d;
    d = c;
    c = b;
    b = rotated;
  };
  // One loop per round, so that no step asks which round it is in.
  for (int i = 0; i < 16; ++i) step((b & c) | (~b & d), i, i);
  for (int i = 16; i < 32; ++i) step((d & b) | (~d & c), (5 * i + 1) % 16, i);
  for (int i = 32; i < 48; ++i) step(b ^ c ^ d, (3 * i + 5) % 16, i);
  for (int i = 48; i < 64; ++i) step(c ^ (b | ~d), (7 * i) % 16, i);
  state.a += a;
  state.b += b;
  state.c += c;
  state.d += d;
}

void store_word(Word w, std::uint8_t* out) {
  for (int i = 0; i < 4; ++i) out[i] = std::uint8_t(w >> (8 * i));
}

}  // namespace

Md5Digest md5(std::string_view message) {
  State state;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(message.data());
  std::size_t whole_blocks = message.size() / 64;
  for (std::size_t i = 0; i < whole_blocks; ++i) process_block(state, bytes + 64 * i);

  // The tail: the remaining bytes, a 1 bit, zeros, and the message length in
  // bits as a 64-bit little-endian number; one or two blocks.
  std::uint8_t tail[128] = {};
  std::size_t rest = message.size() % 64;
  for (std::size_t i = 0; i < rest; ++i) tail[i] = bytes[64 * whole_blocks + i];
  tail[rest] = 0x80;
  std::size_t tail_size = rest < 56 ? 64 : 128;
  std::uint64_t bit_length = std::uint64_t(message.size()) * 8;
  for (int i = 0; i < 8; ++i) tail[tail_size - 8 + i] = std::uint8_t(bit_length >> (8 * i));
  for (std::size_t i = 0; i < tail_size; i += 64) process_block(state, tail + i);

  Md5Digest digest;
  store_word(state.a, digest.data());
  store_word(state.b, digest.data() + 4);
  store_word(state.c, digest.data() + 8);
  store_word(state.d, digest.data() + 12);
  return digest;
}

}  // namespace isf
