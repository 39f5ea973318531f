// An independent model of the 8-bit scalers, written from their rules:
// the region arithmetic in 64 bits, positions accumulated step by step,
// footprint coverage found by testing every source pixel against each
// footprint, and the reducers summed pixel by pixel.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace scalemodel {

struct Image {  // 4-byte pixels, row 0 first
  int width = 0, height = 0;
  std::vector<BYTE> pixels;
  Image(int w, int h) : width(w), height(h), pixels(size_t(w) * h * 4) {}
  BYTE* At(int x, int y) { return &pixels[(size_t(y) * width + x) * 4]; }
  const BYTE* At(int x, int y) const { return &pixels[(size_t(y) * width + x) * 4]; }
};

struct Region {  // 18.14
  int64_t l, t, r, b;
  int64_t W() const { return r - l; }
  int64_t H() const { return b - t; }
};
inline Region Meet(Region a, Region b) {
  Region m{std::max(a.l, b.l), std::max(a.t, b.t), std::min(a.r, b.r), std::min(a.b, b.b)};
  if (m.r <= m.l || m.b <= m.t) return Region{0, 0, 0, 0};
  return m;
}

struct Prepared {
  bool draw = false;
  Region dst{}, src{};
  int64_t stepX = 0, stepY = 0, scaleX = 0, scaleY = 0;
};

inline Prepared Prepare(int dw, int dh, Region d, int sw, int sh, Region s) {
  Prepared p;
  const int64_t one = 16384;
  Region sc = Meet(s, Region{0, 0, sw * one, sh * one});
  if (sc.W() < one || sc.H() < one || d.W() < 1024 || d.H() < 1024) return p;
  p.scaleX = sc.W() * one / d.W();
  p.scaleY = sc.H() * one / d.H();
  Region dc = Meet(d, Region{0, 0, dw * one, dh * one});
  if (dc.W() < 1024 || dc.H() < 1024) return p;
  Region mapped{d.l, d.t, d.l + sc.W() * one / p.scaleX, d.t + sc.H() * one / p.scaleY};
  Region m = Meet(mapped, dc);
  Region fs = Meet(Region{sc.l + (m.l - d.l) * p.scaleX / one, sc.t + (m.t - d.t) * p.scaleY / one,
                          sc.l + (m.r - d.l) * p.scaleX / one, sc.t + (m.b - d.t) * p.scaleY / one},
                   sc);
  if (m.W() <= 0 || fs.W() <= 0) return p;
  p.dst = dc;
  p.src = fs;
  p.stepX = dc.W() >= 2 * one ? std::max<int64_t>(0, (fs.W() - one) * one / (dc.W() - one)) : 0;
  p.stepY = dc.H() >= 2 * one ? std::max<int64_t>(0, (fs.H() - one) * one / (dc.H() - one)) : 0;
  p.draw = true;
  return p;
}

// Coverage (14 bits) of destination pixel i of an axis [low, high).
inline int Coverage(int64_t low, int64_t high, int i) {
  int64_t a = std::max<int64_t>(low, int64_t(i) * 16384), b = std::min<int64_t>(high, int64_t(i + 1) * 16384);
  return static_cast<int>(b - a);
}

inline void Store(BYTE* d, const BYTE* s, int coverage, bool replace) {
  for (int c = 0; c < 4; ++c)
    d[c] = replace || coverage == 16384 ? s[c] : BYTE(d[c] + (s[c] - d[c]) * coverage / 16384);
}

// Bilinear: destination pixel k of an axis samples at the source origin
// plus k steps, clamped to the source's last pixel.
struct Sample {
  int index, next, fraction;
};
inline std::vector<Sample> Positions(int64_t srcLow, int64_t srcHigh, int size, int64_t step, int count) {
  int last = int(std::min<int64_t>((srcHigh + 16383) / 16384, size)) - 1;
  std::vector<Sample> out;
  int64_t position = srcLow;
  for (int k = 0; k < count; ++k, position += step) {
    int index = int(position / 16384), fraction = int(position % 16384);
    if (index >= last)
      out.push_back(Sample{last, last, 0});
    else
      out.push_back(Sample{index, index + 1, fraction});
  }
  return out;
}

inline void Bilinear(Image& dst, const Image& src, const Prepared& p, bool replace) {
  int x0 = int(p.dst.l / 16384), x1 = int((p.dst.r + 16383) / 16384);
  int y0 = int(p.dst.t / 16384), y1 = int((p.dst.b + 16383) / 16384);
  auto xs = Positions(p.src.l, p.src.r, src.width, p.stepX, x1 - x0);
  auto ys = Positions(p.src.t, p.src.b, src.height, p.stepY, y1 - y0);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const Sample &sx = xs[x - x0], &sy = ys[y - y0];
      int a = sx.fraction, b = sy.fraction;
      int w[4] = {(16384 - b) * (16384 - a) / 16384, (16384 - b) * a / 16384, (16384 - a) * b / 16384, a * b / 16384};
      const BYTE* q[4] = {src.At(sx.index, sy.index), src.At(sx.next, sy.index), src.At(sx.index, sy.next),
                          src.At(sx.next, sy.next)};
      BYTE s[4];
      for (int c = 0; c < 4; ++c)
        s[c] = BYTE((w[0] * q[0][c] + w[1] * q[1][c] + w[2] * q[2][c] + w[3] * q[3][c]) >> 14);
      int cx = Coverage(p.dst.l, p.dst.r, x), cy = Coverage(p.dst.t, p.dst.b, y);
      Store(dst.At(x, y), s, cy == 16384 ? cx : cx * cy / 16384, replace);
    }
}

// Part of source pixel c inside footprint k (scale factor long, from the
// source origin, cut at the source's end).
inline int64_t Covered(int64_t srcLow, int64_t srcHigh, int64_t scale, int k, int c) {
  int64_t low = srcLow + k * scale, high = std::min(srcLow + (k + 1) * scale, srcHigh);
  return std::max<int64_t>(
      0, std::min<int64_t>(high, int64_t(c + 1) * 16384) - std::max<int64_t>(low, int64_t(c) * 16384));
}

inline void Area(Image& dst, const Image& src, const Prepared& p) {
  int x0 = int(p.dst.l / 16384), x1 = int((p.dst.r + 16383) / 16384);
  int y0 = int(p.dst.t / 16384), y1 = int((p.dst.b + 16383) / 16384);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      uint64_t sum[4] = {0, 0, 0, 0}, total = 0;
      // A footprint past the source's end (a partly covered last
      // destination pixel) takes the source's last pixel.
      auto weight = [&](int64_t low, int64_t high, int size, int64_t scale, int k, int c) -> int64_t {
        if (low + k * scale < high) return Covered(low, high, scale, k, c);
        int last = int(std::min<int64_t>((high + 16383) / 16384, size)) - 1;
        return c == last ? 16384 : 0;
      };
      for (int sy = 0; sy < src.height; ++sy) {
        int64_t wy = weight(p.src.t, p.src.b, src.height, p.scaleY, y - y0, sy);
        if (!wy) continue;
        for (int sx = 0; sx < src.width; ++sx) {
          int64_t wx = weight(p.src.l, p.src.r, src.width, p.scaleX, x - x0, sx);
          if (!wx) continue;
          uint64_t w = uint64_t(wx * wy >> 14);
          for (int c = 0; c < 4; ++c) sum[c] += w * src.At(sx, sy)[c];
          total += w;
        }
      }
      BYTE s[4];
      for (int c = 0; c < 4; ++c) s[c] = BYTE(total ? sum[c] / total : 0);
      Store(dst.At(x, y), s, 16384, true);
    }
}

// One axis averaged (x when `acrossColumns`), the other interpolated
// linearly to a value with one extra bit; the sum over twice the weights.
inline void Mixed(Image& dst, const Image& src, const Prepared& p, bool acrossColumns) {
  int x0 = int(p.dst.l / 16384), x1 = int((p.dst.r + 16383) / 16384);
  int y0 = int(p.dst.t / 16384), y1 = int((p.dst.b + 16383) / 16384);
  auto xs = Positions(p.src.l, p.src.r, src.width, p.stepX, x1 - x0);
  auto ys = Positions(p.src.t, p.src.b, src.height, p.stepY, y1 - y0);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      int64_t sum[4] = {0, 0, 0, 0}, total = 0;
      int size = acrossColumns ? src.width : src.height;
      int64_t low = acrossColumns ? p.src.l : p.src.t, high = acrossColumns ? p.src.r : p.src.b;
      int64_t scale = acrossColumns ? p.scaleX : p.scaleY;
      int k = acrossColumns ? x - x0 : y - y0;
      const Sample& other = acrossColumns ? ys[y - y0] : xs[x - x0];
      for (int along = 0; along < size; ++along) {
        int64_t w;
        if (low + k * scale < high) {
          w = Covered(low, high, scale, k, along);
        } else {
          int last = int(std::min<int64_t>((high + 16383) / 16384, size)) - 1;
          w = along == last ? 16384 : 0;
        }
        if (!w) continue;
        total += w;
        for (int c = 0; c < 4; ++c) {
          int a = acrossColumns ? src.At(along, other.index)[c] : src.At(other.index, along)[c];
          int b = acrossColumns ? src.At(along, other.next)[c] : src.At(other.next, along)[c];
          sum[c] += w * ((a * (16384 - other.fraction) + b * other.fraction) >> 13);
        }
      }
      BYTE s[4];
      for (int c = 0; c < 4; ++c) s[c] = BYTE(total ? sum[c] / (2 * total) : 0);
      Store(dst.At(x, y), s, 16384, true);
    }
}

// Reducers over whole buffers: factors as 18.14 of the float quotient.
inline int64_t Factor(int source, int destination) { return int64_t(double(source) / destination * 16384.0); }

inline void DownSample(Image& dst, const Image& src) {
  int64_t fx = Factor(src.width, dst.width), fy = Factor(src.height, dst.height);
  for (int y = 0; y < dst.height; ++y)
    for (int x = 0; x < dst.width; ++x) {
      int64_t sum[4] = {0, 0, 0, 0};
      for (int sy = 0; sy < src.height; ++sy) {
        int64_t wy = Covered(0, INT64_MAX / 4, fy, y, sy);
        for (int sx = 0; sx < src.width && wy; ++sx) {
          int64_t wx = Covered(0, INT64_MAX / 4, fx, x, sx);
          for (int c = 0; c < 4; ++c) sum[c] += wx * wy * src.At(sx, sy)[c];
        }
      }
      for (int c = 0; c < 4; ++c) dst.At(x, y)[c] = BYTE(std::min<int64_t>(sum[c] / (fx * fy), 255));
    }
}

inline void Pixelate(Image& dst, const Image& src) {
  int64_t fx = Factor(src.width, dst.width), fy = Factor(src.height, dst.height);
  int bw = int(fx / 16384), bh = int(fy / 16384);
  for (int y = 0; y < dst.height; ++y)
    for (int x = 0; x < dst.width; ++x) {
      int left = int(x * fx / 16384), top = int(y * fy / 16384);
      for (int c = 0; c < 4; ++c) {
        int64_t sum = 0;
        for (int sy = top; sy < top + bh; ++sy)
          for (int sx = left; sx < left + bw; ++sx) sum += src.At(sx, sy)[c];
        dst.At(x, y)[c] = BYTE(sum / (int64_t(bw) * bh));
      }
    }
}

}  // namespace scalemodel
