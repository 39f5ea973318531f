#include "event_kinds.h"

#include <cctype>

#include "quillet/event.h"

namespace tool {

const KindName kKindNames[] = {
    {QEV_PACKED_NRPN, "Packed NRPN", "packednrpn,nrpn"},
    {QEV_PACKED_RPN, "Packed RPN", "packedrpn,rpn"},
    {QEV_PATCH, "Patch", "patch"},
    {QEV_SHORT_MSG, "Short Msg", "shortmsg,short"},
    {QEV_NOTE_OFF, "Note Off", "noteoff"},
    {QEV_NOTE, "Note On", "noteon,note"},
    {QEV_POLY_PRESSURE, "Poly Pressure", "polypressure,polyaftertouch"},
    {QEV_CONTROL, "Control Change", "controlchange,control,controller,cc"},
    {QEV_PROGRAM, "Program Change", "programchange,program"},
    {QEV_CHAN_PRESSURE, "After Touch", "aftertouch,channelpressure"},
    {QEV_PITCH_BEND, "Pitch Bend", "pitchbend,bend"},
    {QEV_SYSEX, "Sysex", "sysex"},
    {QEV_SYSEX_CONT, "Sysex Continue", "sysexcontinue"},
    {QEV_MCI, "MCI", "mci"},
    {QEV_LONG_MSG, "Long Msg", "longmsg"},
    {QEV_META, "Meta", "meta"},
    {QEV_WAVE, "Wave Data", "wavedata,wave"},
};
const int kKindNameCount = sizeof(kKindNames) / sizeof(kKindNames[0]);

DWORD KindByName(const std::string& raw) {
  std::string name;
  for (char c : raw)
    if (c != ' ' && c != '-' && c != '_') name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name.empty()) return 0;
  for (const KindName& k : kKindNames) {
    std::string aliases = std::string(k.aliases) + ",";
    size_t start = 0;
    for (size_t comma; (comma = aliases.find(',', start)) != std::string::npos; start = comma + 1)
      if (aliases.compare(start, comma - start, name) == 0) return k.bit;
  }
  return 0;
}

const char* NameOfKind(DWORD bit) {
  for (const KindName& k : kKindNames)
    if (k.bit == bit) return k.name;
  return "?";
}

}  // namespace tool
