// Functions the image engine's files share.
#pragma once
#include <windows.h>

#include "dib/dib_layout.h"

namespace zq::dib {

// ---- colour quantizer ------------------------------------------------------
// Fills the 32768 cells for a palette of `count` entries (at most 256).
bool BuildQuantizer(const RGBQUAD* table, int count, BYTE* cells) noexcept;
// A locked global block for a palette header (E_INVALIDARG without
// entries, E_OUTOFMEMORY).
HRESULT CreateQuantizer(const BITMAPINFOHEADER* header, BYTE** table) noexcept;
// Unlocks and frees a block from GlobalAlloc + GlobalLock.
void FreeLockedBlock(void* block) noexcept;

// Owns a quantizer for the length of a call.
class ScopedQuantizer {
 public:
  ScopedQuantizer() = default;
  ~ScopedQuantizer() { FreeLockedBlock(cells_); }
  ScopedQuantizer(const ScopedQuantizer&) = delete;
  ScopedQuantizer& operator=(const ScopedQuantizer&) = delete;
  // Builds one when the image is a palette type; S_OK otherwise.
  HRESULT For(const Image& image) noexcept {
    if (!IsPalette(image.type)) return S_OK;
    return CreateQuantizer(image.header, &cells_);
  }
  const BYTE* Cells() const noexcept { return cells_; }

 private:
  BYTE* cells_ = nullptr;
};

// ---- regions ---------------------------------------------------------------------
// Clips `r` to `bounds` and moves `other` edge by edge in proportion to
// how far each edge of `r` moved, relative to r's own size.
void ClipProportional(RECT& r, const RECT& bounds, RECT& other) noexcept;
// The two passes of rectangle preparation; `trims` (optional) gets how far
// the source edges moved inward.
void PrepareRectPair(const RECT& dstBounds, RECT& dst, const RECT& srcBounds, RECT& src, RECT* trims) noexcept;
// Clipping of two equal-sized rectangles: the final pair has equal sizes.
// S_FALSE when nothing overlaps, E_INVALIDARG when the given sizes differ.
HRESULT PrepareEqualPair(const RECT& dstBounds, const RECT* dstRect, const RECT& srcBounds, const RECT* srcRect,
                         RECT* dstOut, RECT* srcOut) noexcept;

// Byte offset of a channel (0 blue .. 3 alpha) in a 4- or 16-byte pixel.
int ChannelOffset(int channel, int bytesPerPixel) noexcept;
inline int RawBytes(int bytesPerPixel) noexcept { return bytesPerPixel == 4 ? 4 : 16; }

// The exchange-set reader for a palette source needs its colour table.
void AttachImages(ZQXCHGSET& set, const Image& dst, const Image& src, const BYTE* quantizer) noexcept;

}  // namespace zq::dib
