// The registry of the ten overlay compositors: their kernels, GUIDs and
// display names (looked up in the library's language module at each call).
#include <cstring>

#include "core/text_copy.h"
#include "dib/blend_kernels.h"
#include "dib/overlay_ids.h"
#include "settings/lang_library.h"
#include "zq/overlay.h"

namespace zq::dib {
namespace {

// Fixed for ever: stored projects and hosts name compositors by them.
constexpr GUID kGuids[kCompositorCount] = {
    {0x6B1E4A10, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x00}},  // Cut
    {0x6B1E4A11, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x01}},  // Screen
    {0x6B1E4A12, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x02}},  // Overlay
    {0x6B1E4A13, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x03}},  // Hard Light
    {0x6B1E4A14, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x04}},  // Dodge
    {0x6B1E4A15, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x05}},  // Burn
    {0x6B1E4A16, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x06}},  // Darken
    {0x6B1E4A17, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x07}},  // Lighten
    {0x6B1E4A18, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x08}},  // Difference
    {0x6B1E4A19, 0x52C7, 0x4D2E, {0x9A, 0x31, 0x7E, 0x40, 0xC2, 0x18, 0x5D, 0x09}},  // Difference Squared
};
constexpr UINT kNames[kCompositorCount] = {
    IDS_OVERLAY_CUT,     IDS_OVERLAY_SCREEN, IDS_OVERLAY_OVERLAY, IDS_OVERLAY_HARD_LIGHT, IDS_OVERLAY_DODGE,
    IDS_OVERLAY_BURN,    IDS_OVERLAY_DARKEN, IDS_OVERLAY_LIGHTEN, IDS_OVERLAY_DIFFERENCE,
    IDS_OVERLAY_DIFFERENCE_SQUARED,
};

template <int index>
void WINAPI Pixel(ZQRGBA* dst, const ZQRGBA* src, int opacity) {
  if (dst && src) CompositorPixel(index)(reinterpret_cast<BYTE*>(dst), reinterpret_cast<const BYTE*>(src), opacity);
}
template <int index>
void WINAPI Row(ZQRGBA* dst, const ZQRGBA* src, int opacity, int count) {
  if (dst && src && count > 0)
    Pick(CompositorRows(index))(reinterpret_cast<BYTE*>(dst), reinterpret_cast<const BYTE*>(src), opacity, count);
}
template <int index>
HRESULT WINAPI Describe(LPWSTR name, int length, GUID* guid) {
  if (name && length > 0) core::CopyText(name, length, settings::DefaultLangString(kNames[index]));
  if (guid) *guid = kGuids[index];
  return S_OK;
}
template <int index>
constexpr tZQOVERLAY Entry() {
  return tZQOVERLAY{Pixel<index>, Row<index>, Describe<index>};
}
constexpr tZQOVERLAY kRegistry[kCompositorCount] = {Entry<0>(), Entry<1>(), Entry<2>(), Entry<3>(), Entry<4>(),
                                                     Entry<5>(), Entry<6>(), Entry<7>(), Entry<8>(), Entry<9>()};

int IndexOf(const GUID& guid) noexcept {
  for (int i = 0; i < kCompositorCount; ++i) {
    GUID g;
    if (kRegistry[i].describe(nullptr, 0, &g) == S_OK && std::memcmp(&g, &guid, sizeof g) == 0) return i;
  }
  return -1;
}

}  // namespace
}  // namespace zq::dib

using namespace zq::dib;

ZQAPI int WINAPI ZqOverlay_GetCompositorCount(void) noexcept { return kCompositorCount; }

ZQAPI const tZQOVERLAY* WINAPI ZqOverlay_GetCompositor(int index) noexcept {
  return index >= 0 && index < kCompositorCount ? &kRegistry[index] : nullptr;
}

ZQAPI BOOL WINAPI ZqOverlay_GetCompositorGUID(int index, GUID* guid) noexcept {
  const tZQOVERLAY* entry = ZqOverlay_GetCompositor(index);
  if (!entry || !guid) return FALSE;
  return entry->describe(nullptr, 0, guid) == S_OK;
}

ZQAPI const tZQOVERLAY* WINAPI ZqOverlay_GetCompositorByGUID(REFGUID guid) noexcept {
  return ZqOverlay_GetCompositor(IndexOf(guid));
}

ZQAPI int WINAPI ZqOverlay_GetCompositorIndex(REFGUID guid) noexcept { return IndexOf(guid); }
