// Text of system exclusive events: the type name, or the command of a MIDI
// Machine Control message.
#include "midi/midi_describe.h"
#include "midi/midi_event.h"
#include "midi/midi_ids.h"
#include "midi/midi_names.h"
#include "midi/midi_text.h"

namespace quillet::midi {
namespace {

constexpr BYTE kMmcCommandSubId = 6;
constexpr int kMmcCommandByte = 3;

}  // namespace

HRESULT DescribeSysex(const QUILLET_EVENT& event, const FieldRequest& r) noexcept {
  if (r.field != kSummary) return S_FALSE;
  if (!IsMmc(event)) {
    TypeName(event.type, r.out, r.capacity);
    return S_OK;
  }
  // IsMmc guarantees at least five bytes.
  int command = event.data[kMmcCommandByte];
  WCHAR name[64];
  if (event.data[2] == kMmcCommandSubId && MmcCommandName(command, name, ARRAYSIZE(name)) > 0)
    PrintId(r.out, r.capacity, IDS_MIDI_FMT_MMC_COMMAND, name);
  else
    PrintId(r.out, r.capacity, IDS_MIDI_FMT_MMC_BYTE, command);
  return S_OK;
}

}  // namespace quillet::midi
