// The button sets of the message boxes, the captions of their buttons, and
// the answers the unattended hook gives.
#include "errors/msgbox_ids.h"
#include "errors/msgbox_internal.h"

namespace zq::errors {
namespace {

// Indexed by the style's low four bits.
constexpr ButtonSet kOkOnly = {1, {IDOK}, false, true};
constexpr ButtonSet kButtonSets[16] = {
    kOkOnly,                                                                   // 0
    {2, {IDOK, IDCANCEL}, false, false},                                       // 1
    {3, {IDABORT, IDRETRY, IDIGNORE}, true, false},                            // 2
    {3, {IDYES, IDNO, IDCANCEL}, false, false},                                // 3
    {2, {IDYES, IDNO}, true, false},                                           // 4
    {2, {IDRETRY, IDCANCEL}, false, false},                                    // 5
    kOkOnly, kOkOnly, kOkOnly, kOkOnly,                                        // 6-9
    {4, {IDYES, ZQ_IDYESTOALL, IDNO, IDCANCEL}, false, false},                 // 10
    {3, {IDYES, IDNO, ZQ_IDDELETE}, true, false},                              // 11
    {4, {IDYES, IDNO, ZQ_IDNOTOALL, IDCANCEL}, false, false},                  // 12
    {5, {IDYES, ZQ_IDYESTOALL, IDNO, ZQ_IDNOTOALL, IDCANCEL}, false, false},   // 13
    kOkOnly, kOkOnly,                                                          // 14, 15
};

struct Caption {
  int id;
  UINT string;
};
constexpr Caption kCaptions[] = {
    {IDOK, IDS_MB_OK},          {IDCANCEL, IDS_MB_CANCEL},         {IDABORT, IDS_MB_ABORT},
    {IDRETRY, IDS_MB_RETRY},    {IDIGNORE, IDS_MB_IGNORE},         {IDYES, IDS_MB_YES},
    {IDNO, IDS_MB_NO},          {ZQ_IDYESTOALL, IDS_MB_YES_TO_ALL}, {ZQ_IDDELETE, IDS_MB_DELETE},
    {ZQ_IDNOTOALL, IDS_MB_NO_TO_ALL},
};

}  // namespace

const WCHAR kInvalidParameterReport[] = L"Invalid Message Box parameter...User intervention is needed!";

const ButtonSet& ButtonSetOf(UINT style) noexcept { return kButtonSets[style & ZQ_MB_BUTTONSET_MASK]; }

UINT ButtonCaptionId(int buttonId) noexcept {
  for (const Caption& c : kCaptions)
    if (c.id == buttonId) return c.string;
  return 0;
}

int UnattendedAnswer(UINT style) noexcept {
  const ButtonSet& set = ButtonSetOf(style);
  if (set.okOnly) return IDOK;  // any default index
  const int index = static_cast<int>((style & ZQ_MB_DEFBUTTON_MASK) >> 8);
  return index < set.count ? set.ids[index] : -1;
}

}  // namespace zq::errors
