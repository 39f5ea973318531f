// Whole songs of 1, 10 and 50 MB through quillet-host (file read to file
// written): events per second and the process's peak working set, against
// reading and writing the same file without the plug-in.
#include <windows.h>
#include <psapi.h>

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

// About `megabytes` of file: 16 parts of notes with now and then a volume
// change and a pitch bend, a tempo track and a few texts.
smf::Song BigSong(int megabytes, size_t* events) {
  smf::Song song;
  song.division = 480;
  const uint8_t tempo[] = {0x07, 0xA1, 0x20};
  smf::Track conductor;
  conductor.events.push_back(song.Long(0, 0xFF, 0x51, tempo, sizeof(tempo)));
  song.tracks.push_back(conductor);
  // A note is two events in about 6.2 bytes with running status.
  const int notesPerTrack = static_cast<int>(megabytes * 1048576.0 / 16 / 6.4);
  for (int t = 0; t < 16; ++t) {
    smf::Track track;
    const uint8_t ch = static_cast<uint8_t>(t);
    track.events.reserve(static_cast<size_t>(notesPerTrack) * 2 + notesPerTrack / 8 + 8);
    track.events.push_back(smf::Song::Channel(0, static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(t)));
    track.events.push_back(smf::Song::Channel(0, static_cast<uint8_t>(0xB0 | ch), 7, 100));
    for (int n = 0; n < notesPerTrack; ++n) {
      const uint32_t tick = static_cast<uint32_t>(n) * 60;
      const uint8_t note = static_cast<uint8_t>(36 + (n * 7 + t) % 48);
      if (n % 16 == 0) track.events.push_back(smf::Song::Channel(tick, static_cast<uint8_t>(0xB0 | ch), 7, static_cast<uint8_t>(60 + n % 60)));
      if (n % 32 == 8) track.events.push_back(smf::Song::Channel(tick, static_cast<uint8_t>(0xE0 | ch), 0, static_cast<uint8_t>(64 + n % 8)));
      track.events.push_back(smf::Song::Channel(tick, static_cast<uint8_t>(0x90 | ch), note, 90));
      track.events.push_back(smf::Song::Channel(tick + 50, static_cast<uint8_t>(0x90 | ch), note, 0));
    }
    track.end = track.events.back().tick + 480;
    song.tracks.push_back(std::move(track));
  }
  *events = 0;
  for (const auto& t : song.tracks) *events += t.events.size();
  return song;
}

struct ToolRun {
  DWORD code = ~0u;
  double seconds = 0;
  SIZE_T peak = 0;     // bytes
  std::string stages;  // what the tool printed with --timings
};

std::string ReadText(const std::wstring& path) {
  std::string text;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return text;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(h, chunk, sizeof(chunk), &got, nullptr) && got) text.append(chunk, got);
  CloseHandle(h);
  return text;
}

// quillet-host as a child process, its peak working set sampled while it
// runs; its standard error (the stage table) goes to a file.
ToolRun RunTool(const std::wstring& args) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring dir(exe);
  dir = dir.substr(0, dir.find_last_of(L"\\/"));
  std::wstring line =
      L"\"" + dir + L"\\quillet-host.exe\" --quiet --timings --module \"" + dir + L"\\quillet.dll\" " + args;
  const std::wstring errors = TempFile(L"quillet-bench-stages.txt");
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE errorFile = CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;  // no output but the stage table
  si.hStdError = errorFile;
  PROCESS_INFORMATION pi{};
  ToolRun run;
  LARGE_INTEGER frequency, start, stop;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  if (errorFile != INVALID_HANDLE_VALUE) CloseHandle(errorFile);
  if (!started) return run;
  do {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters)) && counters.PeakWorkingSetSize > run.peak)
      run.peak = counters.PeakWorkingSetSize;
  } while (WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT);
  QueryPerformanceCounter(&stop);
  run.seconds = static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart;
  GetExitCodeProcess(pi.hProcess, &run.code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  run.stages = ReadText(errors);
  DeleteFileW(errors.c_str());
  return run;
}

void WholeSongs() {
  std::wstring in = TempFile(L"quillet-bench-in.mid"), out = TempFile(L"quillet-bench-out.mid"),
               copy = TempFile(L"quillet-bench-copy.mid");
  double perEventAt1 = 0;
  for (int megabytes : {1, 10, 50}) {
    size_t events = 0;
    smf::Error error;
    {
      smf::Song song = BigSong(megabytes, &events);
      smf::WriteSong(in, song, &error);
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExW(in.c_str(), GetFileExInfoStandard, &attributes);
    const double fileMb = attributes.nFileSizeLow / 1048576.0;
    ToolRun ours = RunTool(L"--filter program --volume 1=-0.2 \"" + in + L"\" -o \"" + out + L"\"");
    double baseline = bench::Time([] {},
                                  [&] {
                                    std::vector<uint8_t> bytes;
                                    smf::Song parsed;
                                    smf::ReadFile(in, &bytes, &error);
                                    smf::Parse(std::move(bytes), &parsed, &error);
                                    smf::WriteSong(copy, parsed, &error);
                                  },
                                  1);
    char name[96];
    std::snprintf(name, sizeof(name), "quillet-host, %.1f MB, %zu events", fileMb, events);
    bench::Report(name, ours.seconds, baseline, "read + write, no plug-in");
    const double perEvent = ours.seconds / events;
    if (megabytes == 1) perEventAt1 = perEvent;
    std::printf("    %.0f events/s through the plug-in; peak working set %.0f MB (%.1f bytes per event, %.1f x the file);"
                " time per event %.2f x that at 1 MB; exit code %lu\n",
                events / ours.seconds, ours.peak / 1048576.0, static_cast<double>(ours.peak) / events,
                ours.peak / 1048576.0 / fileMb, perEventAt1 > 0 ? perEvent / perEventAt1 : 0.0, ours.code);
    // Where the time and memory went, as the tool measured its stages
    // (the process's start and end are outside them).
    for (size_t at = 0, end; (end = ours.stages.find('\n', at)) != std::string::npos; at = end + 1)
      std::printf("      %s\n", ours.stages.substr(at, end - at).c_str());
    std::fflush(stdout);
  }
  DeleteFileW(in.c_str());
  DeleteFileW(out.c_str());
  DeleteFileW(copy.c_str());
}

}  // namespace

BENCHMARK_ENTRY("tool whole song", WholeSongs);
