// An independent model of the compositing rules, written from the rules
// themselves: every quantity is a 64-bit integer or a double, quotients
// are taken as doubles and truncated with std::trunc (toward zero), and
// each compositor is one expression in a switch. Tests compare the
// module's bytes with this model's.
#pragma once
#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace composemodel {

using Pixel = std::array<int64_t, 4>;  // blue, green, red, alpha

// Quotient truncated toward zero.
inline int64_t Quot(int64_t x, int64_t by) { return static_cast<int64_t>(std::trunc(double(x) / double(by))); }
inline int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : v > hi ? hi : v; }
inline double Unit(double w) { return w != w ? 0.0 : std::min(1.0, std::max(0.0, w)); }

inline Pixel Over(Pixel d, const Pixel& s) {
  for (int c = 0; c < 3; ++c) d[c] = d[c] + Quot((s[c] - d[c]) * s[3], 256);
  d[3] = d[3] + Quot(s[3] * (s[3] - d[3]), 256);
  return d;
}
inline Pixel OverMatte(Pixel d, const Pixel& s, const int64_t m[3]) {
  for (int c = 0; c < 3; ++c) d[c] = Clamp(s[c] + (d[c] - m[c]) + Quot((m[c] - d[c]) * s[3], 256), 0, 255);
  return d;
}
inline Pixel Under(Pixel d, const Pixel& s) {
  Pixel out;
  for (int c = 0; c < 3; ++c) out[c] = s[c] + Quot(d[3] * (d[c] - s[c]), 256);
  out[3] = s[3] + Quot(d[3] * (d[3] - s[3]), 256);
  return out;
}
inline Pixel Absolute(Pixel d, const Pixel& s, double weight) {
  int64_t w = static_cast<int64_t>(std::trunc(Unit(weight) * 255 + 0.5));
  for (int c = 0; c < 4; ++c) d[c] = d[c] + Quot(w * (s[c] - d[c]), 256);
  return d;
}
inline Pixel Relative(Pixel d, const Pixel& s, double weight) {
  int64_t w = static_cast<int64_t>(std::trunc(Unit(weight) * 255));
  int64_t t = (s[3] * w) / 256;
  for (int c = 0; c < 4; ++c) d[c] = d[c] + Quot(t * (s[c] - d[c]), 256);
  return d;
}
inline Pixel CrossFade(Pixel d, const Pixel& s, double dw, double sw) {
  int64_t a = static_cast<int64_t>(std::trunc(Unit(dw) * 16384)), b = static_cast<int64_t>(std::trunc(Unit(sw) * 16384));
  for (int c = 0; c < 4; ++c) d[c] = std::min<int64_t>(255, Quot(b * s[c] + a * d[c], 16384));
  return d;
}

// The ten compositors in registry order.
inline Pixel Composite(int index, const Pixel& d, const Pixel& s, int64_t o) {
  o &= 255;
  auto mix = [&](int64_t v, int64_t dc) { return Quot(v * o + dc * (255 - o), 255); };
  int64_t sumA = std::min<int64_t>(255, s[3] + d[3]);
  Pixel out = d;
  for (int c = 0; c < 3; ++c) {
    int64_t dc = d[c], sc = s[c], v = 0;
    switch (index) {
      case 0: v = mix(std::max<int64_t>(dc - sc, 0), dc); break;
      case 1: v = mix(sc + Quot((255 - sc) * dc, 255), dc); break;
      case 2: v = mix(dc < 128 ? Quot(2 * sc * dc, 255) : 255 + Quot(2 * (255 - sc) * (dc - 255), 255), dc); break;
      case 3: v = mix(sc < 128 ? Quot(2 * sc * dc, 255) : 255 + Quot(2 * (255 - sc) * (dc - 255), 255), dc); break;
      case 4: v = std::min<int64_t>(255, dc + Quot(Quot(sc * dc * o, 511 - o - sc), 256)); break;
      case 5: v = std::max<int64_t>(0, dc - Quot(Quot((255 - sc) * (255 - dc) * o, sc + 256 - o), 256)); break;
      case 6: v = mix(std::min(dc, sc), dc); break;
      case 7: v = mix(std::max(dc, sc), dc); break;
      case 8: v = mix(std::llabs(dc - sc), dc); break;
      case 9: v = mix(Quot((dc - sc) * (dc - sc), 255), dc); break;
    }
    out[c] = v;
  }
  switch (index) {
    case 0: out[3] = std::max<int64_t>(d[3] - s[3], 0); break;
    case 5: out[3] = d[3]; break;
    case 6: out[3] = std::min(d[3], s[3]); break;
    case 7: out[3] = std::max(d[3], s[3]); break;
    default: out[3] = sumA;
  }
  if (index == 0)
    for (int c = 0; c < 3; ++c) out[c] = std::min(out[c], out[3]);
  return out;
}

inline Pixel Load(const BYTE* p) { return Pixel{p[0], p[1], p[2], p[3]}; }
inline bool Same(const BYTE* p, const Pixel& m) {
  for (int c = 0; c < 4; ++c)
    if (p[c] != m[c]) return false;
  return true;
}

}  // namespace composemodel
