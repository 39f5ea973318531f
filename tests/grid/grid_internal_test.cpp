// The size of the grid's per-row instance arrays: rows times the instance
// size, refused when the product does not fit instead of wrapping round.
#include <gtest/gtest.h>

#include <cstdint>

#include "grid/grid_internal.h"

namespace grid = zq::controls::grid;

TEST(GridInstanceArrays, RowsTimesSizeIsCheckedNotWrapped) {
  const SIZE_T max = static_cast<SIZE_T>(-1);
  const struct {
    SIZE_T count, size;
    bool fits;
  } cases[] = {
      {0, ZQ_FADERINST_SIZE, true},
      {ZQSPREAD_MAXROWS, ZQ_FADERINST_SIZE, true},
      {ZQSPREAD_MAXROWS, ZQ_TRACKBARINST_SIZE, true},
      {13421773, ZQ_FADERINST_SIZE, sizeof(SIZE_T) > 4},  // the first count whose 32-bit product wraps
      {13421772, ZQ_FADERINST_SIZE, true},
      {max / ZQ_SPINNERINST_SIZE, ZQ_SPINNERINST_SIZE, true},
      {max / ZQ_SPINNERINST_SIZE + 1, ZQ_SPINNERINST_SIZE, false},
      {max, 2, false},
      {max, 0, true},
  };
  for (const auto& c : cases) {
    SIZE_T bytes = 12345;
    EXPECT_EQ(grid::CheckedArrayBytes(c.count, c.size, &bytes), c.fits) << c.count << " x " << c.size;
    // Checked against 64-bit arithmetic.
    if (c.fits) EXPECT_EQ(static_cast<uint64_t>(bytes), static_cast<uint64_t>(c.count) * c.size);
    else EXPECT_EQ(bytes, 12345u);
  }
  // The usable rows always fit: the cap keeps every array far below the limit.
  EXPECT_LT(static_cast<uint64_t>(ZQSPREAD_MAXROWS) * ZQ_FADERINST_SIZE, uint64_t{1} << 31);
}
