// The scalers' shared pieces: sub-pixel region preparation, the per-axis
// sampling plans (interpolation positions, area footprints, bicubic taps,
// edge coverage) and the kernels that walk them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "zq/dib.h"

namespace zq::dib {

constexpr int64_t kFixedOne = 16384;

// A scaler image: row y at base + y x stride (the stride may be negative).
struct Plane {
  BYTE* base;
  int width, height;
  int stride;
  BYTE* Row(int y) const noexcept { return base + static_cast<ptrdiff_t>(stride) * y; }
};

// Fills the record; 1 when there is something to draw.
int PrepareSubpixel(ZQSUBPIXELPARAM* p, BYTE* dstBase, const SIZE& dstSize, int dstStride, const RECT* dstRect,
                    const BYTE* srcBase, const SIZE& srcSize, int srcStride, const RECT* srcRect) noexcept;

// How one axis of the destination is sampled.
struct Axis {
  int first = 0;              // first destination pixel
  int count = 0;              // destination pixels
  std::vector<int> coverage;  // 14-bit coverage of each destination pixel
  // Linear interpolation: source index, its clamped neighbour and the fraction.
  std::vector<int> index, next, fraction;
  // Area footprints: taps [tapStart[k], tapStart[k + 1]) of (source index, 14-bit weight).
  std::vector<int> tapStart, tapIndex, tapWeight;
  std::vector<int64_t> weightSum;
  // Bicubic: four source indices (clamped to the image) and a 12-bit fraction.
  std::vector<int> cubicIndex;  // 4 per destination pixel
  std::vector<int> cubicFraction;
};
// dst and src edges in 18.14; step is the interpolation step, scale the
// scale factor, size the source image's size along the axis.
void PlanAxis(Axis& a, int64_t dstLow, int64_t dstHigh, int64_t srcLow, int64_t srcHigh, int64_t step, int64_t scale,
              int size, bool area, bool cubic);

// Bicubic weight tables: four taps for each fraction, float and x 16384.
struct CubicTable {
  int entries;
  std::vector<float> weights;  // 4 per entry
  std::vector<int> fixed;      // 4 per entry
};
const CubicTable& CoarseCubic();  // 4096 entries
const CubicTable& FineCubic();    // 16384 entries

enum class Kernel { Bilinear, Bicubic, Area, AreaThenLinear, LinearThenArea, AreaThenCubic, CubicThenArea };

// Runs a kernel over the prepared region.
HRESULT RunScaler(const ZQSUBPIXELPARAM& p, const Plane& dst, const Plane& src, bool eightBit, Kernel kernel,
                  bool replaceEdges);
// The kernel a scaler uses for the record's scale factors.
Kernel ChooseKernel(const ZQSUBPIXELPARAM& p, bool bicubic, bool shrinkFilter) noexcept;
// Whether an 8-bit area kernel may keep 32-bit sums (tested in 64 bits).
bool NarrowAccumulatorFits(Kernel kernel, int scaleX, int scaleY) noexcept;
// Lets a test force the processor-specific forms off (false) or back on.
void SetScalerVectorForms(bool enabled) noexcept;

}  // namespace zq::dib
