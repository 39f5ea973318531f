// Ids of the library strings owned by the language and locale code.
#pragma once

#define IDS_SMPTE_LABEL           48304  // "hr%smn%ssc%sfr"
#define IDS_SMPTE_LABEL_FULL      48305  // "hours%sminutes%sseconds%sframes"
#define IDS_MUSICTIME_LABEL       48306  // "ms%sbt%stk"
#define IDS_MUSICTIME_LABEL_FULL  48307  // "measures%sbeats%sticks"
