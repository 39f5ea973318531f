// quillet-host: runs a Standard MIDI File through the Quillet plug-in the
// way a host does, and writes the result.
#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>
#include <shellapi.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string>

#include "event_kinds.h"
#include "filter_state.h"
#include "options.h"
#include "page_frame.h"
#include "player.h"
#include "quillet_version.h"
#include "smf.h"
#include "stage_clock.h"

namespace {

std::string Narrow(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
  return s;
}

void Say(const std::wstring& file, const char* kind, const std::string& message, long long offset) {
  std::fprintf(stderr, "quillet-host: %s%s%s", file.empty() ? "" : Narrow(file).c_str(), file.empty() ? "" : ": ", kind);
  if (offset >= 0) std::fprintf(stderr, "byte %lld: ", offset);
  std::fprintf(stderr, "%s\n", message.c_str());
}

int Fail(const std::wstring& file, const std::string& message, long long offset = -1) {
  Say(file, "", message, offset);
  return 1;
}

// The user closed the property frame with Cancel: nothing was written.
constexpr int kCancelled = 3;

int Refuse(const std::string& message) {
  std::fprintf(stderr, "quillet-host: %s\n", message.c_str());
  return 2;
}

// A result code as a sentence a user can act on.
std::string Words(HRESULT hr) {
  switch (hr) {
    case REGDB_E_CLASSNOTREG:
      return "the Quillet filter is not registered (register quillet.dll with regsvr32, or give --module PATH)";
    case CLASS_E_CLASSNOTAVAILABLE: return "the module does not provide the Quillet filter";
    case E_NOINTERFACE: return "the module's object is not a Quillet filter";
    case E_OUTOFMEMORY: return "not enough memory";
    default: break;
  }
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                           nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string words = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == '.' || words.back() == ' '))
    words.pop_back();
  char code[16];
  std::snprintf(code, sizeof(code), "0x%08lX", static_cast<unsigned long>(hr));
  return words.empty() ? std::string("error ") + code : words + " (" + code + ")";
}

// An object of `clsid` as a host gets it: the registered class, or the
// class object of the module the tool loaded (when `module` is given).
HRESULT CreateObject(HMODULE module, REFCLSID clsid, REFIID iid, void** out) {
  if (!module) return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
  auto getClassObject =
      reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(GetProcAddress(module, "DllGetClassObject"));
  if (!getClassObject) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  IClassFactory* factory = nullptr;
  HRESULT hr = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, iid, out);
  factory->Release();
  return hr;
}

// The plug-in as a host gets it: the registered class, or a module's own
// class object when a path is given. `stage` tells which step failed.
HRESULT CreateFilter(const std::wstring& module, IQuilletFilter** filter, HMODULE* loaded, std::string* stage) {
  *loaded = nullptr;
  *stage = "cannot create the Quillet filter";
  if (!module.empty()) {
    *loaded = LoadLibraryW(module.c_str());
    if (!*loaded) {
      *stage = "cannot load the module";
      return HRESULT_FROM_WIN32(GetLastError());
    }
    if (!GetProcAddress(*loaded, "DllGetClassObject")) {
      *stage = "not a COM module";
      return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    }
  }
  return CreateObject(*loaded, CLSID_QuilletFilter, IID_IQuilletFilter, reinterpret_cast<void**>(filter));
}

void ShowProgress(double share) {
  std::fprintf(stderr, "\rplaying: %3d%%", static_cast<int>(share * 100));
  if (share >= 1.0) std::fprintf(stderr, "\n");
  std::fflush(stderr);
}

std::string Time(LONGLONG t) { return t < 0 ? std::string("none") : "tick " + std::to_string(t); }

void PrintList(const tool::Player& player, IQuilletFilter* filter) {
  std::printf("sub-tracks:\n");
  for (const auto& s : player.SubTracks())
    std::printf("  %3lu  track %lu, channel %ld%s\n", s.key, s.track + 1, s.channel + 1,
                s.key < QUILLET_SUBTRACKS ? "" : "  (beyond 255: no volume or pan offset)");
  DWORD mask = filter->ChannelUsageMask();
  std::printf("channels in use: %lu (", filter->ChannelCount());
  for (int c = 0, n = 0; c < 16; ++c)
    if (mask & (1u << c)) std::printf(n++ ? " %d" : "%d", c + 1);
  std::printf(")\n");
  IQuilletTrackInfo* info = nullptr;
  if (SUCCEEDED(filter->QueryInterface(IID_IQuilletTrackInfo, reinterpret_cast<void**>(&info)))) {
    LONGLONG text2 = -1, tempo = -1, markers[4] = {-1, -1, -1, -1};
    info->GetPositions(&text2, &tempo, markers);
    std::printf("first tempo: %s\nmarkers: %s\n", Time(tempo).c_str(), Time(markers[0]).c_str());
    info->Release();
  }
}

void PrintSummary(const tool::Summary& s) {
  std::printf("events read:      %zu\n", s.eventsRead);
  size_t removed = 0;
  for (const auto& [kind, count] : s.removedByKind) removed += count;
  std::printf("events removed:   %zu\n", removed);
  for (const auto& [kind, count] : s.removedByKind) std::printf("  %-16s %zu\n", tool::NameOfKind(kind), count);
  std::printf("controller 7:     %zu changed, %zu injected\n", s.changed[0], s.injected[0]);
  std::printf("controller 10:    %zu changed, %zu injected\n", s.changed[1], s.injected[1]);
  std::printf("events written:   %zu\n", s.eventsWritten);
  if (s.pitchShift) {
    std::printf("pitch shift:      %+ld semitones (channel 10 kept)\n", static_cast<long>(s.pitchShift));
    if (s.droppedByPitch) std::printf("  notes dropped    %zu (moved past 0-127)\n", s.droppedByPitch);
  }
  static const char* const kPitchNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  if (s.rootNote >= 0 && s.rootNote < tool::kNoTransposition)
    std::printf("root note:        %s\n", kPitchNames[s.rootNote % 12]);
}

bool ReadState(const std::wstring& path, hostkit::FilterState* state, std::string* error) {
  std::vector<uint8_t> bytes;
  smf::Error e;
  if (!smf::ReadFile(path, &bytes, &e)) {
    *error = e.message;
    return false;
  }
  if (!hostkit::ParseState(std::vector<BYTE>(bytes.begin(), bytes.end()), state)) {
    *error = "not a saved Quillet filter state (version 1)";
    return false;
  }
  return true;
}

// True when both paths name one file (the second need not exist).
bool SameFile(const std::wstring& a, const std::wstring& b) {
  wchar_t fa[MAX_PATH * 2], fb[MAX_PATH * 2];
  DWORD na = GetFullPathNameW(a.c_str(), MAX_PATH * 2, fa, nullptr), nb = GetFullPathNameW(b.c_str(), MAX_PATH * 2, fb, nullptr);
  if (na && nb && na < MAX_PATH * 2 && nb < MAX_PATH * 2 && CompareStringOrdinal(fa, -1, fb, -1, TRUE) == CSTR_EQUAL)
    return true;
  auto identity = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BOOL ok = GetFileInformationByHandle(h, info);
    CloseHandle(h);
    return ok != FALSE;
  };
  BY_HANDLE_FILE_INFORMATION ia, ib;
  return identity(a, &ia) && identity(b, &ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

// Whether a file can be written at `path`, tried before the song is played.
bool CanWrite(const std::wstring& path) {
  std::wstring probe = path + L".partial";
  HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// Sub-track numbers the options name must be in the song and in the
// filter's table.
int CheckSubTracks(const tool::Options& o, size_t count) {
  const size_t reachable = count < QUILLET_SUBTRACKS - 1 ? count : QUILLET_SUBTRACKS - 1;
  for (const auto* offsets : {&o.volume, &o.pan}) {
    for (const auto& [n, x] : *offsets) {
      if (static_cast<size_t>(n) <= reachable) continue;
      const char* option = offsets == &o.volume ? "--volume" : "--pan";
      return Refuse(std::string(option) + " " + std::to_string(n) + ": " +
                    (reachable ? "the song has sub-tracks 1 to " + std::to_string(reachable)
                               : std::string("the song has no sub-tracks")));
    }
  }
  return 0;
}

// What the frame's Cancel returns to: the filter's settings and the
// host's song and properties, as a host's undo keeps them.
struct EditCheckpoint {
  std::vector<BYTE> filterState;
  std::unique_ptr<hostkit::Host::Checkpoint> host;
};

HRESULT TakeCheckpoint(IQuilletFilter* filter, hostkit::Host* host, EditCheckpoint* checkpoint) {
  HRESULT hr = hostkit::SaveStateFrom(filter, &checkpoint->filterState);
  if (SUCCEEDED(hr)) checkpoint->host = host->MakeCheckpoint();
  return hr;
}

HRESULT GoBackTo(IQuilletFilter* filter, hostkit::Host* host, const EditCheckpoint& checkpoint) {
  host->Restore(*checkpoint.host);
  filter->RebuildSubTrackLists(TRUE);
  hostkit::FilterState state;
  if (!hostkit::ParseState(checkpoint.filterState, &state)) return E_UNEXPECTED;
  return hostkit::LoadStateInto(filter, state);
}

// The filter's property pages in the tool's own property sheet, as a host
// opens them; returns when the user closes it. `kept` tells whether any
// edit is kept: OK keeps them all; Cancel undoes those made since the
// frame opened (or since its last Apply).
HRESULT EditInFrame(IQuilletFilter* filter, HMODULE module, hostkit::Host* host, const std::wstring& title,
                    bool* kept) {
  *kept = false;
  ISpecifyPropertyPages* pages = nullptr;
  HRESULT hr = filter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages));
  if (FAILED(hr)) return hr;
  CAUUID ids{};
  hr = pages->GetPages(&ids);
  pages->Release();
  if (FAILED(hr)) return hr;
  EditCheckpoint checkpoint;
  bool applied = false;
  hr = TakeCheckpoint(filter, host, &checkpoint);
  tool::FrameResult result = tool::FrameResult::Cancelled;
  if (SUCCEEDED(hr)) {
    hr = tool::ShowPropertyFrame(
        filter, ids,
        [module](REFCLSID clsid, IPropertyPage** page) {
          return CreateObject(module, clsid, IID_IPropertyPage, reinterpret_cast<void**>(page));
        },
        title,
        [&] {
          if (SUCCEEDED(TakeCheckpoint(filter, host, &checkpoint))) applied = true;
        },
        &result);
  }
  CoTaskMemFree(ids.pElems);
  if (FAILED(hr)) return hr;
  if (result == tool::FrameResult::Cancelled) {
    hr = GoBackTo(filter, host, checkpoint);
    *kept = applied;
  } else {
    *kept = true;
  }
  return hr;
}

// The file name part of a path, for the frame's title.
std::wstring FileName(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

int Run(const tool::Options& o) {
  if (!o.output.empty() && SameFile(o.input, o.output)) return Refuse("the output file is the input file");
  if (!o.stateOut.empty() && (SameFile(o.input, o.stateOut) || (!o.output.empty() && SameFile(o.output, o.stateOut))))
    return Refuse("--save-state names the input or the output file");
  tool::StageClock clock(o.timings);
  smf::Song song;
  smf::Error error;
  size_t fileSize = 0;
  {
    std::vector<uint8_t> bytes;
    if (!smf::ReadFile(o.input, &bytes, &error)) return Fail(o.input, error.message);
    fileSize = bytes.size();
    std::vector<smf::Warning> warnings;
    if (!smf::Parse(std::move(bytes), &song, &error, &warnings)) return Fail(o.input, error.message, error.offset);
    for (const auto& w : warnings) Say(o.input, "warning: ", w.message, w.offset);
  }
  clock.End("read and parse");

  hostkit::FilterState state;
  std::string stateError;
  if (!o.stateIn.empty() && !ReadState(o.stateIn, &state, &stateError)) return Fail(o.stateIn, stateError);
  if (!o.output.empty() && !CanWrite(o.output)) return Fail(o.output, "cannot create the output file");
  if (!o.stateOut.empty() && !CanWrite(o.stateOut)) return Fail(o.stateOut, "cannot create the state file");
  state.playbackMask |= o.filterMask;
  for (const auto& [n, x] : o.volume) state.mix[n].volumeOffset = x;
  for (const auto& [n, x] : o.pan) state.mix[n].panOffset = x;

  IQuilletFilter* filter = nullptr;
  HMODULE module = nullptr;
  std::string stage;
  HRESULT hr = CreateFilter(o.module, &filter, &module, &stage);
  if (FAILED(hr)) {
    if (module) FreeLibrary(module);
    return Fail(o.module, stage + ": " + Words(hr));
  }
  int status = 0;
  bool kept = true;
  size_t events = 0;
  {
    clock.End("create the filter");
    tool::Player player(filter, song);
    events = player.GetSummary().eventsRead;
    clock.End("host stores the song");
    // What a host tells about the track's file: its path, type, track count and size.
    wchar_t full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(o.input.c_str(), MAX_PATH * 2, full, nullptr);
    player.Host()->filePath = n && n < MAX_PATH * 2 ? full : o.input;
    QUILLET_FILE_RECORD file{};
    file.format = static_cast<DWORD>(song.format & 0xFF) | static_cast<DWORD>(std::min<size_t>(song.tracks.size(), 255)) << 8;
    file.sizeLow = static_cast<DWORD>(fileSize);
    file.sizeHigh = static_cast<DWORD>(static_cast<unsigned long long>(fileSize) >> 32);
    player.Host()->Set(QPROP_FILE_RECORD, 0, 0, sizeof(file), &file);
    status = CheckSubTracks(o, player.SubTracks().size());
    // A saved state is loaded as a host restores a project: the filter
    // then takes each sub-track's start values by its own rule. Without
    // one, the start values are the song's own first volume and pan (or
    // 100 and 64), so that playing changes nothing that was not asked for.
    hr = status || o.stateIn.empty() ? S_OK : hostkit::LoadStateInto(filter, state);
    if (!status && SUCCEEDED(hr)) hr = player.Connect();
    if (!status && SUCCEEDED(hr) && o.stateIn.empty()) {
      for (const auto& s : player.SubTracks()) {
        if (s.key >= QUILLET_SUBTRACKS) continue;
        state.mix[s.key].lastVolume = s.firstVolume >= 0 ? s.firstVolume : 100;
        state.mix[s.key].lastPan = s.firstPan >= 0 ? s.firstPan : 64;
      }
      hr = hostkit::LoadStateInto(filter, state);
    }
    clock.End("connect: filter scans");
    if (status) {
      // refused above
    } else if (FAILED(hr)) {
      status = Fail(o.input, "the filter refused the song: " + Words(hr));
    } else if (o.edit && FAILED(hr = EditInFrame(filter, module, player.Host(), FileName(o.input), &kept))) {
      status = Fail(o.input, "cannot open the plug-in's property page: " + Words(hr));
    } else if (o.edit && !kept) {
      std::printf("edits cancelled; nothing written\n");
      status = kCancelled;
    } else {
      if (o.list) PrintList(player, filter);
      if (!o.output.empty()) {
        bool progress = o.progress || (!o.quiet && _isatty(_fileno(stderr)) && player.GetSummary().eventsRead > 20000);
        hr = player.Play(o.bufferMs, progress ? ShowProgress : nullptr);
        clock.End("play buffer by buffer");
        if (FAILED(hr)) {
          status = Fail(o.input, "the filter failed to process the song: " + Words(hr));
        } else if (!player.Write(o.output, &error)) {
          status = Fail(o.output, error.message);
        } else {
          clock.End("write");
          PrintSummary(player.GetSummary());
          std::printf("written to:       %s\n", Narrow(o.output).c_str());
        }
      }
    }
  }
  if (status == 0 && !o.stateOut.empty()) {
    std::vector<BYTE> saved;
    hr = hostkit::SaveStateFrom(filter, &saved);
    if (FAILED(hr) || !smf::WriteFileAtomically(o.stateOut, std::vector<uint8_t>(saved.begin(), saved.end()), &error))
      status = Fail(o.stateOut, "cannot save the filter's settings");
  }
  filter->Release();
  if (module) FreeLibrary(module);
  clock.End("release");
  clock.Print(stderr, events);
  return status;
}

}  // namespace

int main() {
  // Plain LF line ends, as the tools the output is piped to expect.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  tool::Options options;
  std::string error;
  if (!tool::ParseOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "quillet-host: %s\n%s", error.c_str(), tool::Usage());
    return 2;
  }
  if (options.help) {
    std::printf("%s", tool::Usage());
    return 0;
  }
  if (options.version) {
    std::printf("quillet-host %s\n", QUILLET_VERSION_TEXT);
    return 0;
  }
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  int status;
  try {
    status = Run(options);
  } catch (const std::bad_alloc&) {
    std::fflush(stdout);
    status = Fail(options.input, "not enough memory for this song");
  }
  std::fflush(stdout);
  CoUninitialize();
  return status;
}
