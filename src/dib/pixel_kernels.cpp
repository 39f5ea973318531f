// Expansion and packing of the 17 pixel types, and the exchange set's
// reader, writer and blend tables built from them.
#include "dib/pixel_kernels.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "dib/dib_layout.h"
#include "zq/kernel.h"

namespace zq::dib {
namespace {

// ---- reading and writing little-endian units ------------------------------
inline unsigned Word(const BYTE* p) noexcept { return p[0] | (p[1] << 8); }
inline DWORD Dword(const BYTE* p) noexcept {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}
inline void PutWord(BYTE* p, unsigned v) noexcept {
  p[0] = static_cast<BYTE>(v);
  p[1] = static_cast<BYTE>(v >> 8);
}
inline void PutDword(BYTE* p, DWORD v) noexcept {
  p[0] = static_cast<BYTE>(v);
  p[1] = static_cast<BYTE>(v >> 8);
  p[2] = static_cast<BYTE>(v >> 16);
  p[3] = static_cast<BYTE>(v >> 24);
}
inline float Float(const BYTE* p) noexcept {
  float f;
  std::memcpy(&f, p, 4);
  return f;
}
inline void PutFloat(BYTE* p, float f) noexcept { std::memcpy(p, &f, 4); }

// A float channel: x 65535, held to 0..65535, truncated (NaN reads 0).
inline WORD FromFloat(float f) noexcept {
  float x = f * 65535.0f;
  if (!(x > 0.0f)) return 0;
  if (x >= 65535.0f) return 65535;
  return static_cast<WORD>(x);
}
inline WORD Widen8(unsigned v, bool exact) noexcept { return static_cast<WORD>(exact ? v * 257 : v << 8); }
inline ZQWIDEPIXEL Gray(WORD v) noexcept { return ZQWIDEPIXEL{v, v, v, 65535}; }
// Value of a sub-byte field of `bits` bits at bit position `bit` (0 = most significant).
inline unsigned Field(const BYTE* at, int bit, int bits) noexcept {
  return (at[0] >> (8 - bit - bits)) & ((1u << bits) - 1);
}
inline void PutField(BYTE* at, int bit, int bits, unsigned v) noexcept {
  unsigned shift = 8 - bit - bits, mask = ((1u << bits) - 1) << shift;
  at[0] = static_cast<BYTE>((at[0] & ~mask) | ((v << shift) & mask));
}
inline unsigned Sum(const ZQWIDEPIXEL& p) noexcept { return p.blue + p.green + p.red; }
inline bool Exact(const ZQXCHGSET& s) noexcept { return (s.flags & ZQXCHG_EXACT) != 0; }

ZQWIDEPIXEL FromTable(const ZQXCHGSET& s, unsigned index) noexcept {
  // Indices beyond the table read as black: no image reads past its table.
  if (!s.srcTable || static_cast<int>(index) >= s.srcTableCount) return ZQWIDEPIXEL{0, 0, 0, 65535};
  const RGBQUAD& e = s.srcTable[index];
  bool exact = Exact(s);
  return ZQWIDEPIXEL{Widen8(e.rgbBlue, exact), Widen8(e.rgbGreen, exact), Widen8(e.rgbRed, exact), 65535};
}
inline unsigned QuantizerCell(unsigned r5, unsigned g5, unsigned b5) noexcept { return r5 << 10 | g5 << 5 | b5; }
inline BYTE Quantize(const ZQXCHGSET& s, unsigned cell) noexcept { return s.quantizer ? s.quantizer[cell] : 0; }

// ---- expansion, one function per type ----------------------------------------------
using Expand = ZQWIDEPIXEL (*)(const BYTE*, int, const ZQXCHGSET&) noexcept;

ZQWIDEPIXEL ExpandBit(const BYTE* at, int bit, const ZQXCHGSET&) noexcept {
  return Gray(Field(at, bit, 1) ? 65535 : 0);
}
ZQWIDEPIXEL ExpandGray2(const BYTE* at, int bit, const ZQXCHGSET&) noexcept {
  return Gray(static_cast<WORD>(Field(at, bit, 2) * 21845));
}
ZQWIDEPIXEL ExpandGray4(const BYTE* at, int bit, const ZQXCHGSET&) noexcept {
  return Gray(static_cast<WORD>(Field(at, bit, 4) * 4369));
}
ZQWIDEPIXEL ExpandGray8(const BYTE* at, int, const ZQXCHGSET& s) noexcept { return Gray(Widen8(at[0], Exact(s))); }
ZQWIDEPIXEL ExpandGray16(const BYTE* at, int, const ZQXCHGSET&) noexcept { return Gray(static_cast<WORD>(Word(at))); }
ZQWIDEPIXEL ExpandGrayFloat(const BYTE* at, int, const ZQXCHGSET&) noexcept { return Gray(FromFloat(Float(at))); }
ZQWIDEPIXEL ExpandPal4(const BYTE* at, int bit, const ZQXCHGSET& s) noexcept { return FromTable(s, Field(at, bit, 4)); }
ZQWIDEPIXEL ExpandPal8(const BYTE* at, int, const ZQXCHGSET& s) noexcept { return FromTable(s, at[0]); }
ZQWIDEPIXEL ExpandRgb555(const BYTE* at, int, const ZQXCHGSET&) noexcept {
  unsigned w = Word(at);
  return ZQWIDEPIXEL{static_cast<WORD>((w & 31) << 11), static_cast<WORD>(((w >> 5) & 31) << 11),
                     static_cast<WORD>(((w >> 10) & 31) << 11), 65535};
}
ZQWIDEPIXEL ExpandRgb565(const BYTE* at, int, const ZQXCHGSET&) noexcept {
  unsigned w = Word(at);
  return ZQWIDEPIXEL{static_cast<WORD>((w & 31) << 11), static_cast<WORD>(((w >> 5) & 63) << 10),
                     static_cast<WORD>(((w >> 11) & 31) << 11), 65535};
}
ZQWIDEPIXEL ExpandRgb24(const BYTE* at, int, const ZQXCHGSET& s) noexcept {
  bool exact = Exact(s);
  return ZQWIDEPIXEL{Widen8(at[0], exact), Widen8(at[1], exact), Widen8(at[2], exact), 65535};
}
ZQWIDEPIXEL ExpandRgb32(const BYTE* at, int, const ZQXCHGSET& s) noexcept {
  bool exact = Exact(s);
  return ZQWIDEPIXEL{Widen8(at[0], exact), Widen8(at[1], exact), Widen8(at[2], exact), Widen8(at[3], exact)};
}
ZQWIDEPIXEL ExpandRgb30(const BYTE* at, int, const ZQXCHGSET&) noexcept {
  DWORD d = Dword(at);
  return ZQWIDEPIXEL{static_cast<WORD>((d & 1023) << 6), static_cast<WORD>(((d >> 10) & 1023) << 6),
                     static_cast<WORD>(((d >> 20) & 1023) << 6), static_cast<WORD>((d >> 30) * 21845)};
}
ZQWIDEPIXEL ExpandRgba64(const BYTE* at, int, const ZQXCHGSET&) noexcept {
  return ZQWIDEPIXEL{static_cast<WORD>(Word(at)), static_cast<WORD>(Word(at + 2)), static_cast<WORD>(Word(at + 4)),
                     static_cast<WORD>(Word(at + 6))};
}
ZQWIDEPIXEL ExpandRgbaFloat(const BYTE* at, int, const ZQXCHGSET&) noexcept {
  return ZQWIDEPIXEL{FromFloat(Float(at)), FromFloat(Float(at + 4)), FromFloat(Float(at + 8)),
                     FromFloat(Float(at + 12))};
}

// ---- packing, one function per type ----------------------------------------------------
using Pack = void (*)(BYTE*, int, const ZQWIDEPIXEL&, const ZQXCHGSET&) noexcept;

void PackBit(BYTE* at, int bit, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  PutField(at, bit, 1, Sum(p) >= 98303 ? 1 : 0);
}
void PackGray2(BYTE* at, int bit, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  PutField(at, bit, 2, Sum(p) / 49152);
}
void PackGray4(BYTE* at, int bit, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  PutField(at, bit, 4, Sum(p) / 12288);
}
void PackGray8(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  at[0] = static_cast<BYTE>(Sum(p) / 768);
}
void PackGray16(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept { PutWord(at, Sum(p) / 3); }
void PackGrayFloat(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  PutFloat(at, static_cast<float>(Sum(p) / 3) / 65535.0f);
}
unsigned WideCell(const ZQWIDEPIXEL& p) noexcept { return QuantizerCell(p.red >> 11, p.green >> 11, p.blue >> 11); }
void PackPal4(BYTE* at, int bit, const ZQWIDEPIXEL& p, const ZQXCHGSET& s) noexcept {
  PutField(at, bit, 4, Quantize(s, WideCell(p)));
}
void PackPal8(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET& s) noexcept { at[0] = Quantize(s, WideCell(p)); }
void PackRgb555(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  PutWord(at, (p.red >> 11) << 10 | (p.green >> 11) << 5 | (p.blue >> 11));
}
void PackRgb565(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  PutWord(at, (p.red >> 11) << 11 | (p.green >> 10) << 5 | (p.blue >> 11));
}
void PackRgb24(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  at[0] = static_cast<BYTE>(p.blue >> 8);
  at[1] = static_cast<BYTE>(p.green >> 8);
  at[2] = static_cast<BYTE>(p.red >> 8);
}
void PackRgb32(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  at[0] = static_cast<BYTE>(p.blue >> 8);
  at[1] = static_cast<BYTE>(p.green >> 8);
  at[2] = static_cast<BYTE>(p.red >> 8);
  at[3] = static_cast<BYTE>(p.alpha >> 8);
}
void PackRgb30(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  PutDword(at, static_cast<DWORD>(p.blue >> 6) | static_cast<DWORD>(p.green >> 6) << 10 |
                   static_cast<DWORD>(p.red >> 6) << 20 | static_cast<DWORD>(p.alpha >> 14) << 30);
}
void PackRgba64(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  PutWord(at, p.blue);
  PutWord(at + 2, p.green);
  PutWord(at + 4, p.red);
  PutWord(at + 6, p.alpha);
}
void PackRgbaFloat(BYTE* at, int, const ZQWIDEPIXEL& p, const ZQXCHGSET&) noexcept {
  constexpr float kUnit = 1.0f / 65535.0f;
  PutFloat(at, p.blue * kUnit);
  PutFloat(at + 4, p.green * kUnit);
  PutFloat(at + 8, p.red * kUnit);
  PutFloat(at + 12, p.alpha * kUnit);
}

// ---- the 8-bit working pixel (Pal8, Rgb24, Rgb32, Rgba32) ---------------------------------
using ExpandNarrow = ZQRGBA (*)(const BYTE*, const ZQXCHGSET&) noexcept;
using PackNarrow = void (*)(BYTE*, const ZQRGBA&, const ZQXCHGSET&) noexcept;

ZQRGBA NarrowPal8(const BYTE* at, const ZQXCHGSET& s) noexcept {
  if (!s.srcTable || at[0] >= s.srcTableCount) return ZQRGBA{0, 0, 0, 255};
  const RGBQUAD& e = s.srcTable[at[0]];
  return ZQRGBA{e.rgbBlue, e.rgbGreen, e.rgbRed, 255};
}
ZQRGBA NarrowRgb24(const BYTE* at, const ZQXCHGSET&) noexcept { return ZQRGBA{at[0], at[1], at[2], 255}; }
ZQRGBA NarrowRgb32(const BYTE* at, const ZQXCHGSET&) noexcept { return ZQRGBA{at[0], at[1], at[2], at[3]}; }
void PackNarrowPal8(BYTE* at, const ZQRGBA& p, const ZQXCHGSET& s) noexcept {
  at[0] = Quantize(s, QuantizerCell(p.red >> 3, p.green >> 3, p.blue >> 3));
}
void PackNarrowRgb24(BYTE* at, const ZQRGBA& p, const ZQXCHGSET&) noexcept {
  at[0] = p.blue;
  at[1] = p.green;
  at[2] = p.red;
}
void PackNarrowRgb32(BYTE* at, const ZQRGBA& p, const ZQXCHGSET&) noexcept {
  at[0] = p.blue;
  at[1] = p.green;
  at[2] = p.red;
  at[3] = p.alpha;
}

// ---- readers and writers -----------------------------------------------------------------
template <int Bits>
inline void Step(BYTE*& at, int& bit) noexcept {
  if constexpr (Bits >= 8) {
    at += Bits / 8;
  } else {
    bit += Bits;
    at += bit >> 3;
    bit &= 7;
  }
}

template <Expand E, int Bits>
void WINAPI Read1(ZQXCHGSET* s) {
  s->work.wide[0] = E(s->src, s->srcBit, *s);
  Step<Bits>(s->src, s->srcBit);
}
template <Expand E, int Bits>
void WINAPI Read4(ZQXCHGSET* s) {
  for (int i = 0; i < 4; ++i) {
    s->work.wide[i] = E(s->src, s->srcBit, *s);
    Step<Bits>(s->src, s->srcBit);
  }
}
// The right and lower neighbours are read only when their weight is not
// zero, so a caller at the last column or row never reads past it.
template <Expand E, int Bits>
void WINAPI Read2x2(ZQXCHGSET* s) {
  BYTE* at = s->src;
  int bit = s->srcBit;
  BYTE* right = at;
  int rightBit = bit;
  Step<Bits>(right, rightBit);
  s->work.wide[0] = E(at, bit, *s);
  s->work.wide[1] = s->fracX ? E(right, rightBit, *s) : s->work.wide[0];
  if (s->fracY && s->nextRow) {
    s->work.wide[2] = E(at + s->nextRow, bit, *s);
    s->work.wide[3] = s->fracX ? E(right + s->nextRow, rightBit, *s) : s->work.wide[2];
  } else {
    s->work.wide[2] = s->work.wide[0];
    s->work.wide[3] = s->work.wide[1];
  }
  s->src = right;
  s->srcBit = rightBit;
}
inline WORD Lerp(unsigned a, unsigned b, unsigned f) noexcept {
  return static_cast<WORD>((a * (16384 - f) + b * f) >> 14);
}
template <Expand E, int Bits>
void WINAPI ReadInterp(ZQXCHGSET* s) {
  Read2x2<E, Bits>(s);
  unsigned fx = s->fracX & 16383, fy = s->fracY & 16383;
  const ZQWIDEPIXEL* w = s->work.wide;
  auto mix = [&](WORD ZQWIDEPIXEL::*c) { return Lerp(Lerp(w[0].*c, w[1].*c, fx), Lerp(w[2].*c, w[3].*c, fx), fy); };
  ZQWIDEPIXEL r{mix(&ZQWIDEPIXEL::blue), mix(&ZQWIDEPIXEL::green), mix(&ZQWIDEPIXEL::red), mix(&ZQWIDEPIXEL::alpha)};
  s->work.wide[0] = r;
}
template <Pack P, int Bits>
void WINAPI Write1(ZQXCHGSET* s) {
  P(s->dst, s->dstBit, s->work.wide[0], *s);
  Step<Bits>(s->dst, s->dstBit);
}
template <Pack P, int Bits>
void WINAPI Write4(ZQXCHGSET* s) {
  for (int i = 0; i < 4; ++i) {
    P(s->dst, s->dstBit, s->work.wide[i], *s);
    Step<Bits>(s->dst, s->dstBit);
  }
}

template <ExpandNarrow E, int Bytes>
void WINAPI NarrowRead1(ZQXCHGSET* s) {
  s->work.narrow[0] = E(s->src, *s);
  s->src += Bytes;
}
template <ExpandNarrow E, int Bytes>
void WINAPI NarrowRead4(ZQXCHGSET* s) {
  for (int i = 0; i < 4; ++i, s->src += Bytes) s->work.narrow[i] = E(s->src, *s);
}
template <ExpandNarrow E, int Bytes>
void WINAPI NarrowRead2x2(ZQXCHGSET* s) {
  const BYTE* at = s->src;
  s->work.narrow[0] = E(at, *s);
  s->work.narrow[1] = s->fracX ? E(at + Bytes, *s) : s->work.narrow[0];
  if (s->fracY && s->nextRow) {
    s->work.narrow[2] = E(at + s->nextRow, *s);
    s->work.narrow[3] = s->fracX ? E(at + s->nextRow + Bytes, *s) : s->work.narrow[2];
  } else {
    s->work.narrow[2] = s->work.narrow[0];
    s->work.narrow[3] = s->work.narrow[1];
  }
  s->src += Bytes;
}
template <ExpandNarrow E, int Bytes>
void WINAPI NarrowReadInterp(ZQXCHGSET* s) {
  NarrowRead2x2<E, Bytes>(s);
  unsigned fx = s->fracX & 16383, fy = s->fracY & 16383;
  const ZQRGBA* w = s->work.narrow;
  auto mix = [&](BYTE ZQRGBA::*c) {
    return static_cast<BYTE>(Lerp(Lerp(w[0].*c, w[1].*c, fx), Lerp(w[2].*c, w[3].*c, fx), fy));
  };
  ZQRGBA r{mix(&ZQRGBA::blue), mix(&ZQRGBA::green), mix(&ZQRGBA::red), mix(&ZQRGBA::alpha)};
  s->work.narrow[0] = r;
}
template <PackNarrow P, int Bytes>
void WINAPI NarrowWrite1(ZQXCHGSET* s) {
  P(s->dst, s->work.narrow[0], *s);
  s->dst += Bytes;
}
template <PackNarrow P, int Bytes>
void WINAPI NarrowWrite4(ZQXCHGSET* s) {
  for (int i = 0; i < 4; ++i, s->dst += Bytes) P(s->dst, s->work.narrow[i], *s);
}

// ---- blend operation 3: weighted mix of work[1] into work[0] -------------------------------
inline unsigned Mix(unsigned under, unsigned over, unsigned weight, unsigned full) noexcept {
  return under +
         static_cast<int>((static_cast<int>(over) - static_cast<int>(under)) * static_cast<long long>(weight) / full);
}
void WINAPI BlendWeightedWide(ZQXCHGSET* s) {
  unsigned w = s->blendBlock[1] > 65535 ? 65535 : s->blendBlock[1];
  ZQWIDEPIXEL& u = s->work.wide[0];
  const ZQWIDEPIXEL& o = s->work.wide[1];
  u.blue = static_cast<WORD>(Mix(u.blue, o.blue, w, 65535));
  u.green = static_cast<WORD>(Mix(u.green, o.green, w, 65535));
  u.red = static_cast<WORD>(Mix(u.red, o.red, w, 65535));
  u.alpha = static_cast<WORD>(Mix(u.alpha, o.alpha, w, 65535));
}
void WINAPI BlendWeightedNarrow(ZQXCHGSET* s) {
  unsigned w = s->blendBlock[1] > 65535 ? 65535 : s->blendBlock[1];
  ZQRGBA& u = s->work.narrow[0];
  const ZQRGBA& o = s->work.narrow[1];
  u.blue = static_cast<BYTE>(Mix(u.blue, o.blue, w, 65535));
  u.green = static_cast<BYTE>(Mix(u.green, o.green, w, 65535));
  u.red = static_cast<BYTE>(Mix(u.red, o.red, w, 65535));
  u.alpha = static_cast<BYTE>(Mix(u.alpha, o.alpha, w, 65535));
}

// ---- the tables ---------------------------------------------------------------------------
struct TypeKernels {
  Expand expand;
  Pack pack;
  ZQXCHGPROC read1, read4, read2x2, readInterp, write1, write4;
};
#define ZQ_KERNELS(E, P, BITS)                                                                                    \
  TypeKernels {                                                                                                   \
    E, P, Read1<E, BITS>, Read4<E, BITS>, Read2x2<E, BITS>, ReadInterp<E, BITS>, Write1<P, BITS>, Write4<P, BITS> \
  }
const TypeKernels kWide[kTypeCount] = {
    ZQ_KERNELS(ExpandBit, PackBit, 1),
    ZQ_KERNELS(ExpandBit, PackBit, 1),
    ZQ_KERNELS(ExpandGray2, PackGray2, 2),
    ZQ_KERNELS(ExpandGray4, PackGray4, 4),
    ZQ_KERNELS(ExpandGray8, PackGray8, 8),
    ZQ_KERNELS(ExpandGray16, PackGray16, 16),
    ZQ_KERNELS(ExpandGrayFloat, PackGrayFloat, 32),
    ZQ_KERNELS(ExpandPal4, PackPal4, 4),
    ZQ_KERNELS(ExpandPal8, PackPal8, 8),
    ZQ_KERNELS(ExpandRgb555, PackRgb555, 16),
    ZQ_KERNELS(ExpandRgb565, PackRgb565, 16),
    ZQ_KERNELS(ExpandRgb24, PackRgb24, 24),
    ZQ_KERNELS(ExpandRgb32, PackRgb32, 32),
    ZQ_KERNELS(ExpandRgb32, PackRgb32, 32),
    ZQ_KERNELS(ExpandRgb30, PackRgb30, 32),
    ZQ_KERNELS(ExpandRgba64, PackRgba64, 64),
    ZQ_KERNELS(ExpandRgbaFloat, PackRgbaFloat, 128),
};
#undef ZQ_KERNELS

struct NarrowKernels {
  ZQXCHGPROC read1, read4, read2x2, readInterp, write1, write4;
};
#define ZQ_NARROW(E, P, BYTES)                                                                         \
  NarrowKernels {                                                                                      \
    NarrowRead1<E, BYTES>, NarrowRead4<E, BYTES>, NarrowRead2x2<E, BYTES>, NarrowReadInterp<E, BYTES>, \
        NarrowWrite1<P, BYTES>, NarrowWrite4<P, BYTES>                                                 \
  }
const NarrowKernels kNarrowPal8 = ZQ_NARROW(NarrowPal8, PackNarrowPal8, 1);
const NarrowKernels kNarrowRgb24 = ZQ_NARROW(NarrowRgb24, PackNarrowRgb24, 3);
const NarrowKernels kNarrowRgb32 = ZQ_NARROW(NarrowRgb32, PackNarrowRgb32, 4);
#undef ZQ_NARROW

const NarrowKernels* Narrow(int type) noexcept {
  switch (type) {
    case ZqPixel_Pal8:
      return &kNarrowPal8;
    case ZqPixel_Rgb24:
      return &kNarrowRgb24;
    case ZqPixel_Rgb32:
    case ZqPixel_Rgba32:
      return &kNarrowRgb32;
    default:
      return nullptr;
  }
}

// Blend kernels by operation number and working-pixel width (the 0x40
// selector row is the same kernel for every operation that exists).
struct BlendRow {
  DWORD operation;
  ZQXCHGPROC narrow, wide;
};
constexpr BlendRow kBlends[] = {{3, BlendWeightedNarrow, BlendWeightedWide}};

}  // namespace

ZQWIDEPIXEL ExpandPixel(int type, const BYTE* at, int bit, const ZQXCHGSET& set) noexcept {
  return kWide[type - ZQPIXEL_FIRST].expand(at, bit, set);
}
void PackPixel(int type, BYTE* at, int bit, const ZQWIDEPIXEL& pixel, const ZQXCHGSET& set) noexcept {
  kWide[type - ZQPIXEL_FIRST].pack(at, bit, pixel, set);
}
bool HasNarrowKernels(int type) noexcept { return Narrow(type) != nullptr; }

DWORD EffectiveFlags(DWORD flags) noexcept {
  static constexpr DWORD kSelectors[] = {0, 0x180, 0x1C0, 0x1E0, 0x1F0};
  DWORD quality = flags & ZQDIB_QUALITY_MASK;
  if (quality < 1 || quality > 4) return flags;
  return (flags & 0x07FFF1F0u) | kSelectors[quality];
}

HRESULT PrepareExchange(int dstType, int srcType, DWORD flags, ZQXCHGSET* set, const DWORD* blendBlock) noexcept {
  if (!Type(dstType) || !Type(srcType) || !set) return E_INVALIDARG;
  std::memset(set, 0, sizeof(*set));
  DWORD effective = EffectiveFlags(flags);
  const NarrowKernels* narrowDst = Narrow(dstType);
  const NarrowKernels* narrowSrc = Narrow(srcType);
  if (!narrowDst || !narrowSrc) effective |= ZQXCHG_WIDE;
  set->flags = effective;
  set->srcType = srcType;
  set->dstType = dstType;
  set->param = (flags & ZQDIB_PARAM_MASK) >> ZQDIB_PARAM_SHIFT;
  bool wide = (effective & ZQXCHG_WIDE) != 0;
  const TypeKernels& d = kWide[dstType - ZQPIXEL_FIRST];
  const TypeKernels& s = kWide[srcType - ZQPIXEL_FIRST];
  if (wide) {
    set->write1 = d.write1;
    set->write4 = d.write4;
    set->read1 = s.read1;
    set->read4 = s.read4;
    set->read2x2 = s.read2x2;
    set->readInterp = s.readInterp;
  } else {
    set->write1 = narrowDst->write1;
    set->write4 = narrowDst->write4;
    set->read1 = narrowSrc->read1;
    set->read4 = narrowSrc->read4;
    set->read2x2 = narrowSrc->read2x2;
    set->readInterp = narrowSrc->readInterp;
  }
  if (blendBlock) {
    std::memcpy(set->blendBlock, blendBlock, sizeof(set->blendBlock));
    const BlendRow* row = nullptr;
    for (const BlendRow& r : kBlends)
      if (r.operation == blendBlock[0]) row = &r;
    if (!row) return E_NOTIMPL;
    set->blend[0] = wide ? row->wide : row->narrow;
  }
  return S_OK;
}

// ---- row fast paths ----------------------------------------------------------------------
namespace {

void Rgb32ToRgb565(BYTE* dst, const BYTE* src, int count) noexcept {
  for (int i = 0; i < count; ++i, src += 4, dst += 2) {
    DWORD p;
    std::memcpy(&p, src, 4);
    WORD w = static_cast<WORD>(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F));
    std::memcpy(dst, &w, 2);
  }
}
void Rgb32ToRgb555(BYTE* dst, const BYTE* src, int count) noexcept {
  for (int i = 0; i < count; ++i, src += 4, dst += 2) {
    DWORD p;
    std::memcpy(&p, src, 4);
    WORD w = static_cast<WORD>(((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F));
    std::memcpy(dst, &w, 2);
  }
}
void Rgb32ToRgb24(BYTE* dst, const BYTE* src, int count) noexcept {
  for (int i = 0; i < count; ++i, src += 4, dst += 3) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
  }
}
void Rgb24ToRgb565(BYTE* dst, const BYTE* src, int count) noexcept {
  for (int i = 0; i < count; ++i, src += 3, dst += 2) {
    WORD w = static_cast<WORD>((src[2] >> 3) << 11 | (src[1] >> 2) << 5 | (src[0] >> 3));
    std::memcpy(dst, &w, 2);
  }
}
// Rgb32 and Rgba32 exchange bytes as they are in either direction.
void Rgb32ToRgb32(BYTE* dst, const BYTE* src, int count) noexcept {
  std::memmove(dst, src, static_cast<size_t>(count) * 4);
}

// SSE2 form of Rgb32ToRgb565: eight pixels per step, the same bits,
// stored aligned once the destination is. One multiply-add places red and
// blue (their top five bits) five bits above their 5:6:5 places: blue x 4
// + red x 8192; green's top six bits are there already. Shifted up by 11
// and back by 16 with the sign, the words pack with signed saturation
// unchanged. The pixels before the first 16-byte boundary and after the
// last whole step are one unaligned step each, overlapping the aligned
// ones (written twice with the same bits), where the rows do not share
// memory.
void Rgb32ToRgb565Sse2(BYTE* dst, const BYTE* src, int count) noexcept {
  const uintptr_t to = reinterpret_cast<uintptr_t>(dst), from = reinterpret_cast<uintptr_t>(src);
  const bool apart = to + 2 * static_cast<uintptr_t>(count) <= from || from + 4 * static_cast<uintptr_t>(count) <= to;
  if (count < 8 || (to & 1) || !apart) return Rgb32ToRgb565(dst, src, count);
  const __m128i redBlue = _mm_set1_epi32(0x00F800F8), green = _mm_set1_epi32(0x0000FC00);
  const __m128i factors = _mm_set1_epi32(0x20000004);  // words: blue x 4, red x 8192
  auto pack = [&](__m128i p) {
    __m128i w = _mm_or_si128(_mm_madd_epi16(_mm_and_si128(p, redBlue), factors), _mm_and_si128(p, green));
    return _mm_srai_epi32(_mm_slli_epi32(w, 11), 16);
  };
  auto eight = [&](const BYTE* from) {
    return _mm_packs_epi32(pack(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from))),
                           pack(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16))));
  };
  const int head = static_cast<int>(((16 - (to & 15)) & 15) / 2);
  if (head) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), eight(src));
  int i = head;
  const BYTE* s = src + 4 * head;
  BYTE* d = dst + 2 * head;
  for (; i + 16 <= count; i += 16, s += 64, d += 32) {
    _mm_store_si128(reinterpret_cast<__m128i*>(d), eight(s));
    _mm_store_si128(reinterpret_cast<__m128i*>(d + 16), eight(s + 32));
  }
  if (i + 8 <= count) {
    _mm_store_si128(reinterpret_cast<__m128i*>(d), eight(s));
    i += 8;
  }
  if (i < count) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * (count - 8)), eight(src + 4 * (count - 8)));
}

void Fill32(BYTE* row, DWORD value, int count) noexcept {
  for (int i = 0; i < count; ++i) std::memcpy(row + 4 * i, &value, 4);
}
// SSE2 form of Fill32: pixels up to a 16-byte boundary, then aligned
// stores of 64 bytes a step, then the rest.
void Fill32Sse2(BYTE* row, DWORD value, int count) noexcept {
  int head = static_cast<int>((16 - (reinterpret_cast<uintptr_t>(row) & 15)) & 15);
  if (head % 4 || count < 8) return Fill32(row, value, count);
  head /= 4;
  Fill32(row, value, head);
  row += 4 * head;
  count -= head;
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  int i = 0;
  for (; i + 16 <= count; i += 16, row += 64) {
    _mm_store_si128(reinterpret_cast<__m128i*>(row), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(row + 16), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(row + 32), v);
    _mm_store_si128(reinterpret_cast<__m128i*>(row + 48), v);
  }
  for (; i + 4 <= count; i += 4, row += 16) _mm_store_si128(reinterpret_cast<__m128i*>(row), v);
  Fill32(row, value, count - i);
}

struct FastPath {
  int dst, src;
  RowConvert row;
  RowConvert sse2;  // null where the scalar form is the only one
};
constexpr FastPath kFastPaths[] = {
    {ZqPixel_Rgb565, ZqPixel_Rgb32, Rgb32ToRgb565, Rgb32ToRgb565Sse2},
    {ZqPixel_Rgb565, ZqPixel_Rgba32, Rgb32ToRgb565, Rgb32ToRgb565Sse2},
    {ZqPixel_Rgb555, ZqPixel_Rgb32, Rgb32ToRgb555, nullptr},
    {ZqPixel_Rgb555, ZqPixel_Rgba32, Rgb32ToRgb555, nullptr},
    {ZqPixel_Rgb24, ZqPixel_Rgb32, Rgb32ToRgb24, nullptr},
    {ZqPixel_Rgb24, ZqPixel_Rgba32, Rgb32ToRgb24, nullptr},
    {ZqPixel_Rgb565, ZqPixel_Rgb24, Rgb24ToRgb565, nullptr},
    {ZqPixel_Rgb32, ZqPixel_Rgba32, Rgb32ToRgb32, nullptr},
    {ZqPixel_Rgba32, ZqPixel_Rgb32, Rgb32ToRgb32, nullptr},
};

}  // namespace

RowForms FastRowForms(int dstType, int srcType) noexcept {
  for (const FastPath& p : kFastPaths)
    if (p.dst == dstType && p.src == srcType) return RowForms{p.row, p.sse2};
  return RowForms{nullptr, nullptr};
}

FillForms FillRow32Forms() noexcept { return FillForms{Fill32, Fill32Sse2}; }
RowFill FillRow32() noexcept { return ZqGetCPUSupport(ZQCPU_SSE2) ? Fill32Sse2 : Fill32; }

RowConvert FastRowPath(int dstType, int srcType, DWORD) noexcept {
  RowForms forms = FastRowForms(dstType, srcType);
  if (forms.sse2 && ZqGetCPUSupport(ZQCPU_SSE2)) return forms.sse2;
  return forms.scalar;
}

}  // namespace zq::dib
