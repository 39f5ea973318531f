// Ids of the library strings the files layer uses (src/files/files.rc).
#pragma once

#define IDS_ZQ_DISK_SPACE_UNKNOWN 48270
#define IDS_ZQ_DISK_SPACE_MB      48271
