// Ids of the overlay compositors' display names (src/dib/overlay.rc).
#pragma once

#define IDS_OVERLAY_SCREEN             48499
#define IDS_OVERLAY_CUT                48500
#define IDS_OVERLAY_OVERLAY            48501
#define IDS_OVERLAY_HARD_LIGHT         48503
#define IDS_OVERLAY_DODGE              48504
#define IDS_OVERLAY_BURN               48505
#define IDS_OVERLAY_DARKEN             48506
#define IDS_OVERLAY_LIGHTEN            48507
#define IDS_OVERLAY_DIFFERENCE         48508
#define IDS_OVERLAY_DIFFERENCE_SQUARED 48514
