// Resource ids of the window tests' own resources.
#pragma once
#define IDD_CLASSIC        201
#define IDD_CLASSIC_FACE   202
#define IDD_EXTENDED       203
#define IDD_EXTENDED_NAMED 204
#define IDD_NO_FONT        205
#define IDS_BUILT_TITLE    301
#define IDS_BUILT_FACE     302
#define IDS_ITEM_TEXT      303
#define IDR_EXTRACT        401
