// Ids of the message box's strings (src/errors/msgbox.rc).
#pragma once

#define IDS_MB_OK             48308  // "OK"
#define IDS_MB_CANCEL         48309  // "Cancel"
#define IDS_MB_ABORT          48310  // "&Abort"
#define IDS_MB_RETRY          48311  // "&Retry"
#define IDS_MB_IGNORE         48312  // "&Ignore"
#define IDS_MB_YES            48313  // "&Yes"
#define IDS_MB_NO             48314  // "&No"
#define IDS_MB_YES_TO_ALL     48315  // "Yes to &All"
#define IDS_MB_NO_TO_ALL      48316  // "N&o to All"
#define IDS_MB_DELETE         48317  // "D&elete"
#define IDS_MB_DETAILS_SHOW   48318  // "&Details >>"
#define IDS_MB_DONT_SHOW      48319  // "Do no&t show this message again."
#define IDS_MB_DETAILS_HIDE   48320  // "No &Details"
// Around the details in the text a hook receives; hooks may parse them, so
// they stay exactly as they are.
#define IDS_MB_DETAILS_START  48537  // "/r/n-----DETAILS START-----/r/n"
#define IDS_MB_DETAILS_END    48538  // "/r/n-----DETAILS END-----"
