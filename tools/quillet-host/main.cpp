// quillet-host: runs a Standard MIDI File through the Quillet plug-in the
// way a host does, and writes the result.
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "event_kinds.h"
#include "filter_state.h"
#include "options.h"
#include "player.h"
#include "smf.h"

namespace {

std::string Narrow(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
  return s;
}

int Fail(const std::wstring& file, const std::string& message, long long offset = -1) {
  std::fprintf(stderr, "quillet-host: %s%s", file.empty() ? "" : Narrow(file).c_str(), file.empty() ? "" : ": ");
  if (offset >= 0) std::fprintf(stderr, "byte %lld: ", offset);
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// The plug-in as a host gets it: the registered class, or a module's own
// class object when a path is given.
HRESULT CreateFilter(const std::wstring& module, IQuilletFilter** filter, HMODULE* loaded) {
  *loaded = nullptr;
  if (module.empty())
    return CoCreateInstance(CLSID_QuilletFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IQuilletFilter,
                            reinterpret_cast<void**>(filter));
  *loaded = LoadLibraryW(module.c_str());
  if (!*loaded) return HRESULT_FROM_WIN32(GetLastError());
  auto getClassObject =
      reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(GetProcAddress(*loaded, "DllGetClassObject"));
  if (!getClassObject) return E_NOINTERFACE;
  IClassFactory* factory = nullptr;
  HRESULT hr = getClassObject(CLSID_QuilletFilter, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, IID_IQuilletFilter, reinterpret_cast<void**>(filter));
  factory->Release();
  return hr;
}

void ShowProgress(double share) {
  std::fprintf(stderr, "\rplaying: %3d%%", static_cast<int>(share * 100));
  if (share >= 1.0) std::fprintf(stderr, "\n");
}

std::string Time(LONGLONG t) { return t < 0 ? std::string("none") : "tick " + std::to_string(t); }

void PrintList(const tool::Player& player, IQuilletFilter* filter) {
  std::printf("sub-tracks:\n");
  for (const auto& s : player.SubTracks())
    std::printf("  %3lu  track %lu, channel %ld\n", s.key, s.track + 1, s.channel + 1);
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
  std::printf("controller 7:     %zu rewritten, %zu injected\n", s.rewritten[0], s.injected[0]);
  std::printf("controller 10:    %zu rewritten, %zu injected\n", s.rewritten[1], s.injected[1]);
  std::printf("events written:   %zu\n", s.eventsWritten);
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

int Run(const tool::Options& o) {
  std::vector<uint8_t> bytes;
  smf::Song song;
  smf::Error error;
  if (!smf::ReadFile(o.input, &bytes, &error)) return Fail(o.input, error.message);
  if (!smf::Parse(bytes, &song, &error)) return Fail(o.input, error.message, error.offset);

  hostkit::FilterState state;
  std::string stateError;
  if (!o.stateIn.empty() && !ReadState(o.stateIn, &state, &stateError)) return Fail(o.stateIn, stateError);
  state.playbackMask |= o.filterMask;
  for (const auto& [n, x] : o.volume) state.mix[n].volumeOffset = x;
  for (const auto& [n, x] : o.pan) state.mix[n].panOffset = x;

  IQuilletFilter* filter = nullptr;
  HMODULE module = nullptr;
  HRESULT hr = CreateFilter(o.module, &filter, &module);
  if (FAILED(hr))
    return Fail(o.module, "cannot create the Quillet filter (" + Hex(hr) + ")" +
                              (o.module.empty() ? "; is the module registered?" : ""));
  int status = 0;
  {
    hr = hostkit::LoadStateInto(filter, state);
    tool::Player player(filter, song);
    if (SUCCEEDED(hr)) hr = player.Connect();
    if (SUCCEEDED(hr) && o.list) PrintList(player, filter);
    if (SUCCEEDED(hr) && !o.output.empty()) {
      bool progress = !o.quiet && player.GetSummary().eventsRead > 20000;
      hr = player.Play(o.bufferMs, progress ? ShowProgress : nullptr);
      if (FAILED(hr)) {
        status = Fail(o.input, "the filter failed to process the song (" + Hex(hr) + ")");
      } else if (!smf::WriteFileAtomically(o.output, smf::Serialize(player.Result()), &error)) {
        status = Fail(o.output, error.message);
      } else {
        PrintSummary(player.GetSummary());
        std::printf("written to:       %s\n", Narrow(o.output).c_str());
      }
    } else if (FAILED(hr)) {
      status = Fail(o.input, "the filter refused the song (" + Hex(hr) + ")");
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
  return status;
}

}  // namespace

int main() {
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
  CoInitialize(nullptr);
  int status = Run(options);
  CoUninitialize();
  return status;
}
