/// @file
/// Menu operations on menus loaded through a language handle. Positions are
/// zero-based; id lists end at a 0 id or after `count` ids (negative: 10000).
#pragma once
#include "zq/base.h"

/// ZqLoadMenu followed by ZqCullMenu; null when the menu cannot be loaded.
ZQAPI HMENU WINAPI ZqLoadCulledMenu(HZQLANG lang, LPCWSTR name, const UINT* ids, int count,
                                    BOOL clean) ZQ_NOTHROW;
/// Deletes the listed commands; with `clean` returns ZqCleanMenu(menu, 0, -1).
ZQAPI BOOL WINAPI ZqCullMenu(HMENU menu, const UINT* ids, int count, BOOL clean) ZQ_NOTHROW;
/// Removes empty pop-ups and surplus separators at every depth; 1 when
/// `menu` became empty and was deleted from `parent` at `position`.
ZQAPI BOOL WINAPI ZqCleanMenu(HMENU menu, HMENU parent, int position) ZQ_NOTHROW;
/// Grays commands by id until a 0 id or `count` ids (negative: at most 10000).
/// `ZqGrayAllMenuItems(menu)` and `ZqEnableAllMenuItems(menu)` gray or enable every item by
/// position.
ZQAPI void WINAPI ZqGrayMenu(HMENU menu, const UINT* ids, int count) ZQ_NOTHROW;
/// Grays every item of `menu` (by position).
ZQAPI void WINAPI ZqGrayAllMenuItems(HMENU menu) ZQ_NOTHROW;
/// Enables every item of `menu` (by position).
ZQAPI void WINAPI ZqEnableAllMenuItems(HMENU menu) ZQ_NOTHROW;
/// Expands "$(Name)" tokens (and the printer's other argument-free
/// directives) in every item text, at every depth; returns the item count
/// of `menu`.
ZQAPI int WINAPI ZqMenuReplaceTokens(HMENU menu) ZQ_NOTHROW;
/// 1 when `id` is a command of `menu` or of a pop-up below it: `found`
/// receives the menu that holds it, `position` the position in `menu` of the
/// pop-up on the path (-1 when the command sits in `menu` itself).
ZQAPI BOOL WINAPI ZqFindSubMenu(HMENU menu, UINT id, HMENU* found, int* position) ZQ_NOTHROW;
/// The menu that holds command `id` (null when absent); `position` as above,
/// -1 when absent.
ZQAPI HMENU WINAPI ZqGetSubmenuByID(HMENU menu, UINT id, int* position) ZQ_NOTHROW;
