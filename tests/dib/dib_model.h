// An independent model of the image engine's pixel rules, written from the
// rules themselves and differently from the module: pixels are addressed
// bit by bit, packed types are described as field tables, grey levels are
// computed from the bit depth, and nearest-pixel positions are accumulated
// step by step. Tests compare the module's bytes with this model's.
#pragma once
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "zq/dib.h"

namespace dibmodel {

struct Wide {
  unsigned b, g, r, a;
  bool operator==(const Wide& o) const { return b == o.b && g == o.g && r == o.r && a == o.a; }
};

struct Field {
  int shift, width;
};
// Field layout of the packed colour types (blue, green, red, alpha; width 0 = absent).
struct Packed {
  int type;
  Field f[4];
};
inline const Packed* PackedType(int type) {
  static const Packed kPacked[] = {
      {ZqPixel_Rgb555, {{0, 5}, {5, 5}, {10, 5}, {0, 0}}},
      {ZqPixel_Rgb565, {{0, 5}, {5, 6}, {11, 5}, {0, 0}}},
      {ZqPixel_Rgb24, {{0, 8}, {8, 8}, {16, 8}, {0, 0}}},
      {ZqPixel_Rgb32, {{0, 8}, {8, 8}, {16, 8}, {24, 8}}},
      {ZqPixel_Rgba32, {{0, 8}, {8, 8}, {16, 8}, {24, 8}}},
      {ZqPixel_Rgb30, {{0, 10}, {10, 10}, {20, 10}, {30, 2}}},
      {ZqPixel_Rgba64, {{0, 16}, {16, 16}, {32, 16}, {48, 16}}},
  };
  for (const Packed& p : kPacked)
    if (p.type == type) return &p;
  return nullptr;
}

inline int Bits(int type) {
  static const int kBits[] = {1, 1, 2, 4, 8, 16, 32, 4, 8, 16, 16, 24, 32, 32, 32, 64, 128};
  return kBits[type - 16];
}
inline bool IsGrayType(int type) { return type >= 16 && type <= 22; }
inline bool IsPaletteType(int type) { return type == 23 || type == 24; }

// One bit of a row, counted from the most significant bit of its first byte.
inline unsigned BitAt(const BYTE* row, int64_t n) { return (row[n / 8] >> (7 - n % 8)) & 1u; }
inline void SetBitAt(BYTE* row, int64_t n, unsigned v) {
  BYTE m = static_cast<BYTE>(0x80u >> (n % 8));
  row[n / 8] = static_cast<BYTE>(v ? (row[n / 8] | m) : (row[n / 8] & ~m));
}
// A little-endian unit of `bytes` bytes.
inline uint64_t Unit(const BYTE* p, int bytes) {
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}
inline void PutUnit(BYTE* p, int bytes, uint64_t v) {
  for (int i = 0; i < bytes; ++i, v >>= 8) p[i] = static_cast<BYTE>(v);
}
inline float FloatAt(const BYTE* p) {
  float f;
  std::memcpy(&f, p, 4);
  return f;
}
inline unsigned FromFloat(float f) {
  if (std::isnan(f)) return 0;
  float x = f * 65535.0f;
  return x <= 0 ? 0u : x >= 65535.0f ? 65535u : static_cast<unsigned>(std::trunc(x));
}

struct Palette {
  const RGBQUAD* table = nullptr;
  int entries = 0;
};

// Expansion of pixel x of a row.
inline Wide Expand(int type, const BYTE* row, int x, bool exact, const Palette& palette) {
  int bits = Bits(type);
  if (bits < 8 || type == ZqPixel_Gray8 || type == ZqPixel_Pal8) {
    unsigned v = 0;
    for (int k = 0; k < bits; ++k) v = v << 1 | BitAt(row, static_cast<int64_t>(x) * bits + k);
    if (IsPaletteType(type)) {
      if (static_cast<int>(v) >= palette.entries) return Wide{0, 0, 0, 65535};
      const RGBQUAD& e = palette.table[v];
      unsigned m = exact ? 257 : 256;
      return Wide{e.rgbBlue * m, e.rgbGreen * m, e.rgbRed * m, 65535};
    }
    unsigned level = bits == 8 ? v * (exact ? 257 : 256) : v * (65535 / ((1u << bits) - 1));
    return Wide{level, level, level, 65535};
  }
  const BYTE* p = row + static_cast<size_t>(x) * (bits / 8);
  if (type == ZqPixel_Gray16) {
    unsigned v = static_cast<unsigned>(Unit(p, 2));
    return Wide{v, v, v, 65535};
  }
  if (type == ZqPixel_GrayFloat) {
    unsigned v = FromFloat(FloatAt(p));
    return Wide{v, v, v, 65535};
  }
  if (type == ZqPixel_RgbaFloat)
    return Wide{FromFloat(FloatAt(p)), FromFloat(FloatAt(p + 4)), FromFloat(FloatAt(p + 8)), FromFloat(FloatAt(p + 12))};
  const Packed* packed = PackedType(type);
  uint64_t u = Unit(p, bits / 8);
  unsigned c[4];
  for (int i = 0; i < 4; ++i) {
    Field f = packed->f[i];
    if (!f.width) {
      c[i] = 65535;
      continue;
    }
    unsigned v = static_cast<unsigned>((u >> f.shift) & ((1ull << f.width) - 1));
    if (f.width == 8) c[i] = v * (exact ? 257 : 256);
    else if (f.width == 2) c[i] = v * 21845;
    else c[i] = v << (16 - f.width);
  }
  return Wide{c[0], c[1], c[2], c[3]};
}

// Packing into pixel x of a row; `quantizer` is the 5:5:5 inverse table of a palette row.
inline void Pack(int type, BYTE* row, int x, const Wide& w, const BYTE* quantizer) {
  int bits = Bits(type);
  unsigned sum = w.b + w.g + w.r;
  auto putBits = [&](unsigned v) {
    for (int k = 0; k < bits; ++k) SetBitAt(row, static_cast<int64_t>(x) * bits + k, (v >> (bits - 1 - k)) & 1u);
  };
  if (IsPaletteType(type)) {
    putBits(quantizer[(w.r / 2048) * 1024 + (w.g / 2048) * 32 + w.b / 2048]);
    return;
  }
  if (IsGrayType(type) && bits <= 16) {
    unsigned v = bits == 1 ? (sum >= 98303 ? 1u : 0u) : sum / (196608u >> bits);
    if (bits <= 8) putBits(v);
    else PutUnit(row + static_cast<size_t>(x) * 2, 2, v);
    return;
  }
  BYTE* p = row + static_cast<size_t>(x) * (bits / 8);
  if (type == ZqPixel_GrayFloat) {
    float f = static_cast<float>(sum / 3) / 65535.0f;
    std::memcpy(p, &f, 4);
    return;
  }
  if (type == ZqPixel_RgbaFloat) {
    float f[4] = {w.b * (1.0f / 65535.0f), w.g * (1.0f / 65535.0f), w.r * (1.0f / 65535.0f),
                  w.a * (1.0f / 65535.0f)};
    std::memcpy(p, f, 16);
    return;
  }
  const Packed* packed = PackedType(type);
  unsigned c[4] = {w.b, w.g, w.r, w.a};
  uint64_t u = 0;
  for (int i = 0; i < 4; ++i) {
    Field f = packed->f[i];
    if (f.width) u |= static_cast<uint64_t>(c[i] >> (16 - f.width)) << f.shift;
  }
  PutUnit(p, bits / 8, u);
}

// Source index for each of `destination` positions: 18.14 steps added one
// at a time; quality 3 and 4 line up both end pixels.
inline std::vector<int> NearestColumns(int source, int destination, int quality) {
  int64_t step = quality >= 3 ? (destination > 1 ? (int64_t(source) - 1) * 16384 / (destination - 1)
                                                  : (int64_t(source) - 1) * 16384)
                              : int64_t(source) * 16384 / destination;
  std::vector<int> out;
  int64_t position = 0;
  for (int i = 0; i < destination; ++i, position += step) out.push_back(static_cast<int>(position >> 14));
  out.back() = source - 1;
  return out;
}

// The inverse colour table, grown literally: one sweep over every cell per
// generation, emptiness kept in its own map.
inline std::vector<BYTE> Quantizer(const RGBQUAD* table, int count) {
  std::vector<BYTE> cell(32768, 0);
  std::vector<int> generation(32768, 0);
  auto index = [](int r, int g, int b) { return r * 1024 + g * 32 + b; };
  for (int i = 0; i < count; ++i) {
    int c = index(table[i].rgbRed / 8, table[i].rgbGreen / 8, table[i].rgbBlue / 8);
    if (!generation[c]) {
      generation[c] = 1;
      cell[c] = static_cast<BYTE>(i);
    }
  }
  for (int g = 1;; ++g) {
    bool grew = false;
    for (int r = 0; r < 32; ++r)
      for (int gr = 0; gr < 32; ++gr)
        for (int b = 0; b < 32; ++b) {
          int c = index(r, gr, b);
          if (generation[c] != g) continue;
          const int moves[6][3] = {{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
          for (const auto& m : moves) {
            int nr = r + m[0], ng = gr + m[1], nb = b + m[2];
            if (nr < 0 || ng < 0 || nb < 0 || nr > 31 || ng > 31 || nb > 31) continue;
            int n = index(nr, ng, nb);
            if (generation[n]) continue;
            generation[n] = g + 1;
            cell[n] = cell[c];
            grew = true;
          }
        }
    if (!grew) break;
  }
  return cell;
}

}  // namespace dibmodel
