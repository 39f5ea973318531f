// Ids of the library strings the text layer uses (src/text/text.rc).
#pragma once

#define IDS_ZQ_VALUE_ERROR    48302
#define IDS_ZQ_MINUS_INFINITY 48303
