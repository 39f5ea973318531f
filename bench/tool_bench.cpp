// A whole song through quillet-host (file read to file written) against
// reading and writing the same file without the plug-in.
#include <algorithm>
#include <cstdio>
#include <string>

#include "bench.h"
#include "smf.h"

namespace {

std::wstring TempFile(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

smf::Song BigSong(int tracks, int notesPerTrack) {
  smf::Song song;
  song.division = 480;
  for (int t = 0; t < tracks; ++t) {
    smf::Track track;
    uint8_t ch = static_cast<uint8_t>(t % 16);
    track.events.push_back(smf::Song::Channel(0, static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(t)));
    track.events.push_back(smf::Song::Channel(0, static_cast<uint8_t>(0xB0 | ch), 7, 100));
    for (int n = 0; n < notesPerTrack; ++n) {
      uint32_t tick = static_cast<uint32_t>(n * 120);
      uint8_t note = static_cast<uint8_t>(36 + (n * 7 + t) % 48);
      track.events.push_back(smf::Song::Channel(tick, static_cast<uint8_t>(0x90 | ch), note, 90));
      track.events.push_back(smf::Song::Channel(tick + 100, static_cast<uint8_t>(0x80 | ch), note, 0));
      if (n % 16 == 0) track.events.push_back(smf::Song::Channel(tick, static_cast<uint8_t>(0xB0 | ch), 7, static_cast<uint8_t>(60 + n % 60)));
    }
    std::stable_sort(track.events.begin(), track.events.end(),
                     [](const smf::Event& a, const smf::Event& b) { return a.tick < b.tick; });
    song.tracks.push_back(std::move(track));
  }
  return song;
}

DWORD RunTool(const std::wstring& args) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring dir(exe);
  dir = dir.substr(0, dir.find_last_of(L"\\/"));
  std::wstring line = L"\"" + dir + L"\\quillet-host.exe\" --quiet --module \"" + dir + L"\\quillet.dll\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;  // no output
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return ~0u;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = ~0u;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code;
}

void WholeSong() {
  smf::Song song = BigSong(16, 12500);
  size_t events = 0;
  for (const auto& t : song.tracks) events += t.events.size();
  std::wstring in = TempFile(L"quillet-bench-in.mid"), out = TempFile(L"quillet-bench-out.mid"),
               copy = TempFile(L"quillet-bench-copy.mid");
  smf::Error error;
  smf::WriteFileAtomically(in, smf::Serialize(song), &error);
  DWORD code = 0;
  double ours = bench::Time([] {}, [&] { code = RunTool(L"--filter program --volume 1=-0.2 \"" + in + L"\" -o \"" + out + L"\""); }, 1);
  double baseline = bench::Time([] {},
                                [&] {
                                  std::vector<uint8_t> bytes;
                                  smf::Song parsed;
                                  smf::ReadFile(in, &bytes, &error);
                                  smf::Parse(bytes, &parsed, &error);
                                  smf::WriteFileAtomically(copy, smf::Serialize(parsed), &error);
                                },
                                1);
  bench::Report("quillet-host, " + std::to_string(events) + " events", ours, baseline, "read + write, no plug-in");
  std::printf("    %.0f events per second through the plug-in (exit code %lu)\n", events / ours, code);
  DeleteFileW(in.c_str());
  DeleteFileW(out.c_str());
  DeleteFileW(copy.c_str());
}

}  // namespace

BENCHMARK_ENTRY("tool whole song", WholeSong);
