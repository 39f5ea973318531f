// Ids of the library strings owned by the language and locale code.
#pragma once

#define IDS_SMPTE_LABEL           48304  // "hr%smn%ssc%sfr"
#define IDS_SMPTE_LABEL_FULL      48305  // "hours%sminutes%sseconds%sframes"
#define IDS_MUSICTIME_LABEL       48306  // "ms%sbt%stk"
#define IDS_MUSICTIME_LABEL_FULL  48307  // "measures%sbeats%sticks"

// Resources only a language module carries: a dialog and a menu that show
// which language module is loaded (the module itself has none).
#define IDD_ZQ_LANGUAGE_CHECK     48960
#define IDM_ZQ_LANGUAGE_CHECK     48961
#define IDC_ZQ_LANGUAGE_NAME      1001
#define IDM_ZQ_LANGUAGE_OPEN      48962
#define IDM_ZQ_LANGUAGE_CLOSE     48963
