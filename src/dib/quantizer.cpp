// The inverse colour table of a palette image: every 5:5:5 colour cell
// holds the index of a nearby palette entry, grown outward from the
// entries' own cells one generation at a time.
#include <algorithm>
#include <cstring>
#include <vector>

#include "dib/dib_internal.h"
#include "dib/dib_layout.h"

namespace zq::dib {

bool BuildQuantizer(const RGBQUAD* table, int count, BYTE* cells) noexcept {
  constexpr int kCells = 32768;
  if (!table || count <= 0 || !cells) return false;
  if (count > 256) count = 256;
  try {
    // Emptiness lives in the generation map (0 = empty), so every index,
    // 255 included, is a value a cell can hold.
    std::vector<BYTE> generation(kCells, 0);
    std::vector<int> current, next;
    std::memset(cells, 0, kCells);
    for (int i = 0; i < count; ++i) {
      int cell = (table[i].rgbRed >> 3) << 10 | (table[i].rgbGreen >> 3) << 5 | (table[i].rgbBlue >> 3);
      if (generation[cell]) continue;  // the lowest index wins
      generation[cell] = 1;
      cells[cell] = static_cast<BYTE>(i);
      current.push_back(cell);
    }
    std::sort(current.begin(), current.end());
    // Neighbour order: red - 1, green - 1, blue - 1, red + 1, green + 1, blue + 1.
    static constexpr int kShift[3] = {10, 5, 0};
    BYTE g = 1;
    while (!current.empty()) {
      next.clear();
      for (int cell : current) {
        for (int n = 0; n < 6; ++n) {
          int shift = kShift[n % 3];
          int component = (cell >> shift) & 31;
          int moved = n < 3 ? component - 1 : component + 1;
          if (moved < 0 || moved > 31) continue;
          int neighbour = (cell & ~(31 << shift)) | (moved << shift);
          if (generation[neighbour]) continue;
          generation[neighbour] = static_cast<BYTE>(g + 1);
          cells[neighbour] = cells[cell];
          next.push_back(neighbour);
        }
      }
      std::sort(next.begin(), next.end());
      current.swap(next);
      ++g;
    }
    return true;
  } catch (...) {
    return false;
  }
}

HRESULT CreateQuantizer(const BITMAPINFOHEADER* header, BYTE** table) noexcept {
  *table = nullptr;
  // A count no header can mean is refused, not cut to 65536 entries that
  // are not there either.
  if (!PlausibleHeaderSize(header) || header->biClrUsed > 65536) return E_INVALIDARG;
  int entries = TableEntries(header);
  if (entries <= 0) return E_INVALIDARG;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 32768);
  BYTE* cells = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
  if (!cells) {
    if (block) GlobalFree(block);
    return E_OUTOFMEMORY;
  }
  if (!BuildQuantizer(ColourTable(header), entries, cells)) {
    GlobalUnlock(block);
    GlobalFree(block);
    return E_OUTOFMEMORY;
  }
  *table = cells;
  return S_OK;
}

}  // namespace zq::dib

ZQAPI HRESULT WINAPI ZqDibCreateColorQuantizer(BYTE** table, const BITMAPINFOHEADER* header) noexcept {
  if (!table) return E_POINTER;
  *table = nullptr;
  if (!header) return E_INVALIDARG;
  return zq::dib::CreateQuantizer(header, table);
}
