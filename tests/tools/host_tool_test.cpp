// quillet-host as a user runs it: MIDI files in, MIDI files out, errors.
// Files are read back here with a reader of the test's own.
#include <gtest/gtest.h>
#include <windows.h>
#include <prsht.h>

#include <algorithm>
#include <set>
#include <thread>
#include <map>
#include <string>
#include <vector>

#include "screenshot.h"
#include "test_paths.h"

namespace {

struct Ev {
  uint32_t tick;
  std::vector<uint8_t> bytes;  // status (running status expanded), then the data as stored
  bool operator==(const Ev& o) const { return tick == o.tick && bytes == o.bytes; }
  bool operator<(const Ev& o) const { return tick != o.tick ? tick < o.tick : bytes < o.bytes; }
};
using Tracks = std::vector<std::vector<Ev>>;

// A small reader of the test's own: every event, end-of-track included.
std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::vector<uint8_t> b;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return b;
  b.resize(GetFileSize(f, nullptr));
  DWORD n = 0;
  if (!b.empty()) ReadFile(f, b.data(), static_cast<DWORD>(b.size()), &n, nullptr);
  CloseHandle(f);
  b.resize(n);
  return b;
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& b) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  if (!b.empty()) WriteFile(f, b.data(), static_cast<DWORD>(b.size()), &n, nullptr);
  CloseHandle(f);
}

bool ReadMidi(const std::wstring& path, Tracks* tracks) {
  std::vector<uint8_t> b = ReadBytes(path);
  if (b.size() < 14 || memcmp(b.data(), "MThd", 4)) return false;
  size_t at = 8 + (b[4] << 24 | b[5] << 16 | b[6] << 8 | b[7]);
  int count = b[10] << 8 | b[11];
  tracks->clear();
  for (int t = 0; t < count; ++t) {
    if (at + 8 > b.size() || memcmp(&b[at], "MTrk", 4)) return false;
    size_t end = at + 8 + (b[at + 4] << 24 | b[at + 5] << 16 | b[at + 6] << 8 | b[at + 7]);
    size_t p = at + 8;
    uint32_t tick = 0;
    uint8_t running = 0;
    std::vector<Ev> events;
    auto varlen = [&] {
      uint32_t v = 0;
      while (p < end) {
        uint8_t c = b[p++];
        v = v << 7 | (c & 0x7F);
        if (!(c & 0x80)) break;
      }
      return v;
    };
    while (p < end) {
      tick += varlen();
      uint8_t status = b[p] & 0x80 ? b[p++] : running;
      Ev e{tick, {status}};
      size_t length;
      if (status == 0xFF) {
        e.bytes.push_back(b[p++]);
        length = varlen();
      } else if (status == 0xF0 || status == 0xF7) {
        length = varlen();
      } else {
        running = status;
        length = (status & 0xE0) == 0xC0 ? 1 : 2;
      }
      e.bytes.insert(e.bytes.end(), b.begin() + p, b.begin() + p + length);
      p += length;
      events.push_back(e);
    }
    tracks->push_back(events);
    at = end;
  }
  return true;
}

struct ToolRun {
  DWORD code;
  std::string out, err;
};

ToolRun Tool(const std::wstring& args) {
  std::wstring line = L"\"" + testsupport::ExeDirectory() + L"\\quillet-host.exe\" " + args;
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  CreatePipe(&outRead, &outWrite, &sa, 0);
  CreatePipe(&errRead, &errWrite, &sa, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = outWrite;
  si.hStdError = errWrite;
  PROCESS_INFORMATION pi{};
  ToolRun run{~0u, {}, {}};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return run;
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  auto drain = [](HANDLE h, std::string* into) {
    char buffer[4096];
    DWORD n;
    while (ReadFile(h, buffer, sizeof(buffer), &n, nullptr) && n) into->append(buffer, n);
  };
  drain(outRead, &run.out);
  drain(errRead, &run.err);
  WaitForSingleObject(pi.hProcess, 60000);
  GetExitCodeProcess(pi.hProcess, &run.code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(outRead);
  CloseHandle(errRead);
  return run;
}

std::wstring Demo() { return QUILLET_DEMO_SONG; }

std::wstring Temp(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"quillet-tool-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsController(const Ev& e, uint8_t number) {
  return (e.bytes[0] & 0xF0) == 0xB0 && e.bytes.size() == 3 && e.bytes[1] == number;
}

// A file of the given header fields and track bodies.
std::vector<uint8_t> Smf(int format, int count, uint16_t division, const std::vector<std::vector<uint8_t>>& bodies) {
  std::vector<uint8_t> v = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, uint8_t(format), uint8_t(count >> 8), uint8_t(count),
                            uint8_t(division >> 8), uint8_t(division)};
  for (const auto& b : bodies) {
    const size_t n = b.size();
    v.insert(v.end(), {'M', 'T', 'r', 'k', uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
    v.insert(v.end(), b.begin(), b.end());
  }
  return v;
}

// `output` equals `input` without the events `removed` selects, apart from
// controller 7 and 10 events at tick 0 that are not in the input.
::testing::AssertionResult SameApartFrom(const Tracks& input, const Tracks& output,
                                         bool (*removed)(const Ev&), size_t* injected) {
  if (input.size() != output.size()) return ::testing::AssertionFailure() << "track count";
  *injected = 0;
  for (size_t t = 0; t < input.size(); ++t) {
    std::vector<Ev> expected, actual;
    for (const Ev& e : input[t])
      if (!removed(e)) expected.push_back(e);
    std::multiset<Ev> pool(expected.begin(), expected.end());
    for (const Ev& e : output[t]) {
      auto it = pool.find(e);
      if (it != pool.end()) {
        pool.erase(it);
      } else if (e.tick == 0 && (IsController(e, 7) || IsController(e, 10))) {
        ++*injected;
      } else {
        return ::testing::AssertionFailure() << "unexpected event in track " << t << " at tick " << e.tick;
      }
    }
    if (!pool.empty()) return ::testing::AssertionFailure() << pool.size() << " events lost in track " << t;
  }
  return ::testing::AssertionSuccess();
}

class HostTool : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::wstring line = L"regsvr32.exe /s \"" + testsupport::ModulePath() + L"\"";
    STARTUPINFOW si{};
  si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    ASSERT_TRUE(ReadMidi(Demo(), &input_));
  }
  void TearDown() override {
    for (const auto& f : files_) DeleteFileW(f.c_str());
  }
  std::wstring Out(const wchar_t* name) {
    files_.push_back(Temp(name));
    return files_.back();
  }
  static Tracks input_;
  std::vector<std::wstring> files_;
};
Tracks HostTool::input_;

TEST_F(HostTool, RoundTripKeepsEveryEvent) {
  std::wstring out = Out(L"round.mid");
  ToolRun run = Tool(L"\"" + Demo() + L"\" -o \"" + out + L"\"");
  ASSERT_EQ(run.code, 0u) << run.err;
  Tracks output;
  ASSERT_TRUE(ReadMidi(out, &output));
  size_t injected = 0;
  EXPECT_TRUE(SameApartFrom(input_, output, [](const Ev&) { return false; }, &injected));
  EXPECT_EQ(injected, 6u);  // controller 7 and 10 for each of the three sub-tracks
  // Nothing asked for, nothing changed: the values start where the song does.
  EXPECT_NE(run.out.find("controller 7:     0 changed, 3 injected"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find('\r'), std::string::npos) << "plain LF line ends";
  EXPECT_TRUE(run.err.empty()) << "no progress when stderr is no terminal: " << run.err;
  EXPECT_LT(ReadBytes(out).size(), ReadBytes(Demo()).size()) << "running status where the status repeats";
  EXPECT_NE(run.out.find("events read:      433"), std::string::npos) << run.out;
}

TEST_F(HostTool, EachKindIsRemovedExactly) {
  struct Case { const wchar_t* name; bool (*selects)(const Ev&); } cases[] = {
      {L"program", [](const Ev& e) { return (e.bytes[0] & 0xF0) == 0xC0; }},
      {L"aftertouch", [](const Ev& e) { return (e.bytes[0] & 0xF0) == 0xD0; }},
      {L"pitchbend", [](const Ev& e) { return (e.bytes[0] & 0xF0) == 0xE0; }},
      {L"noteoff", [](const Ev& e) { return (e.bytes[0] & 0xF0) == 0x80; }},
      {L"sysex", [](const Ev& e) { return e.bytes[0] == 0xF0; }},
      {L"meta", [](const Ev& e) { return e.bytes[0] == 0xFF && e.bytes[1] != 0x2F; }},  // the track end stays
      {L"control", [](const Ev& e) { return (e.bytes[0] & 0xF0) == 0xB0; }},
  };
  for (const auto& c : cases) {
    std::wstring out = Out(c.name);
    ToolRun run = Tool(L"--filter " + std::wstring(c.name) + L" \"" + Demo() + L"\" -o \"" + out + L"\"");
    ASSERT_EQ(run.code, 0u) << run.err;
    Tracks output;
    ASSERT_TRUE(ReadMidi(out, &output));
    size_t injected = 0;
    EXPECT_TRUE(SameApartFrom(input_, output, c.selects, &injected)) << "--filter " << std::string(c.name, c.name + wcslen(c.name));
    if (std::wstring(c.name) == L"control") {
      EXPECT_EQ(injected, 0u);  // injected events go the same way
    }
  }
}

TEST_F(HostTool, OffsetsChangeVolumeAndPanAsTheFilterSays) {
  std::wstring out = Out(L"mix.mid");
  ToolRun run = Tool(L"--volume 1=0.5 --pan 1=-0.5 --volume 2=-0.25 \"" + Demo() + L"\" -o \"" + out + L"\"");
  ASSERT_EQ(run.code, 0u) << run.err;
  Tracks output;
  ASSERT_TRUE(ReadMidi(out, &output));
  auto values = [&](size_t track, uint8_t number) {
    std::vector<int> v;
    for (const Ev& e : output[track])
      if (IsController(e, number)) v.push_back(e.bytes[2]);
    std::sort(v.begin(), v.end());
    return v;
  };
  // Piano (sub-track 1): volume 100 + trunc(63.5) -> 127, pan 40 - 63 -> 0,
  // the file's own event and the one injected at the start alike.
  EXPECT_EQ(values(1, 7), (std::vector<int>{127, 127}));
  EXPECT_EQ(values(1, 10), (std::vector<int>{0, 0}));
  // Bass (sub-track 2): 110 + trunc(-31.75) = 79; no pan event of its own: 64.
  EXPECT_EQ(values(2, 7), (std::vector<int>{79, 79}));
  EXPECT_EQ(values(2, 10), (std::vector<int>{64}));
  // Drums: no offsets, no events of their own: the General MIDI 100 and 64.
  EXPECT_EQ(values(3, 7), (std::vector<int>{100}));
  EXPECT_EQ(values(3, 10), (std::vector<int>{64}));
}

TEST_F(HostTool, SavedStateGivesTheSameResult) {
  std::wstring state = Out(L"state.bin"), first = Out(L"first.mid"), second = Out(L"second.mid");
  ToolRun a = Tool(L"--filter program --volume 3=-1 --save-state \"" + state + L"\" \"" + Demo() + L"\" -o \"" + first + L"\"");
  ASSERT_EQ(a.code, 0u) << a.err;
  ToolRun b = Tool(L"--state \"" + state + L"\" \"" + Demo() + L"\" -o \"" + second + L"\"");
  ASSERT_EQ(b.code, 0u) << b.err;
  Tracks x, y;
  ASSERT_TRUE(ReadMidi(first, &x));
  ASSERT_TRUE(ReadMidi(second, &y));
  EXPECT_EQ(x, y);
  ToolRun bad = Tool(L"--state \"" + Demo() + L"\" \"" + Demo() + L"\" -o \"" + Out(L"never.mid") + L"\"");
  EXPECT_EQ(bad.code, 1u);
  EXPECT_NE(bad.err.find("not a saved Quillet filter state"), std::string::npos) << bad.err;
}

TEST_F(HostTool, ModulePathWorksWithoutRegistration) {
  std::wstring out = Out(L"module.mid");
  ToolRun run = Tool(L"--module \"" + testsupport::ModulePath() + L"\" --list --timings \"" + Demo() + L"\" -o \"" +
                     out + L"\"");
  ASSERT_EQ(run.code, 0u) << run.err;
  EXPECT_NE(run.out.find("channels in use: 3 (1 2 10)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("first tempo: tick 0"), std::string::npos) << run.out;
  // The stage table goes to standard error, every stage in it.
  for (const char* stage : {"read and parse", "host stores the song", "connect: filter scans", "play buffer by buffer",
                            "write", "total"})
    EXPECT_NE(run.err.find(stage), std::string::npos) << stage << " in " << run.err;
  ToolRun missing = Tool(L"--module Z:\\no\\such.dll \"" + Demo() + L"\" -o \"" + Out(L"x.mid") + L"\"");
  EXPECT_EQ(missing.code, 1u);
  EXPECT_NE(missing.err.find("cannot load the module: "), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("not found"), std::string::npos) << "in words: " << missing.err;
  ToolRun notCom = Tool(L"--module C:\\windows\\system32\\kernel32.dll \"" + Demo() + L"\" -o \"" + Out(L"x.mid") + L"\"");
  EXPECT_EQ(notCom.code, 1u);
  EXPECT_NE(notCom.err.find("not a COM module"), std::string::npos) << notCom.err;
}

TEST_F(HostTool, BadInputGivesOneLineAndNoOutput) {
  auto write = [&](const wchar_t* name, std::vector<uint8_t> bytes) {
    std::wstring path = Out(name);
    WriteBytes(path, bytes);
    return path;
  };
  std::vector<uint8_t> header = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0};
  auto track = [&](std::vector<uint8_t> body, uint32_t length) {
    std::vector<uint8_t> v = header;
    v.insert(v.end(), {'M', 'T', 'r', 'k', uint8_t(length >> 24), uint8_t(length >> 16), uint8_t(length >> 8),
                       uint8_t(length)});
    v.insert(v.end(), body.begin(), body.end());
    return v;
  };
  struct Case { const wchar_t* name; std::vector<uint8_t> bytes; const char* message; const char* offset; } cases[] = {
      {L"text.mid", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!'}, "not a Standard MIDI File", "byte 0"},
      {L"truncated.mid", track({0x00, 0x90, 0x3C}, 3), "truncated channel message", "byte 23"},
      {L"running.mid", track({0x00, 0x3C, 0x40}, 3), "running status without a status byte", "byte 23"},
      {L"meta.mid", track({0x00, 0xFF, 0x03, 0x20, 'a'}, 5), "meta event runs past the end", "byte 23"},
      {L"empty.mid", {}, "not a Standard MIDI File", "byte 0"},
      {L"notracks.mid", Smf(1, 0, 96, {{0x00, 0xFF, 0x2F, 0x00}}), "the header counts no tracks", "byte 10"},
      {L"fps.mid", Smf(1, 1, 0xE928, {{0x00, 0xFF, 0x2F, 0x00}}), "time-code division of 23 frames per second", "byte 12"},
      {L"frame.mid", Smf(1, 1, 0xE700, {{0x00, 0xFF, 0x2F, 0x00}}), "division of 0 ticks per frame", "byte 13"},
      {L"metatype.mid", Smf(1, 1, 96, {{0x00, 0xFF, 0x80, 0x00, 0x00, 0xFF, 0x2F, 0x00}}), "meta event type 128 above 127", "byte 24"},
  };
  for (const auto& c : cases) {
    std::wstring in = write(c.name, c.bytes), out = Out(L"bad-out.mid");
    ToolRun run = Tool(L"\"" + in + L"\" -o \"" + out + L"\"");
    EXPECT_EQ(run.code, 1u) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.offset), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(std::string(c.name, c.name + wcslen(c.name))), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(Exists(out));
    EXPECT_FALSE(Exists(out + L".partial"));
  }
  struct Usage { const wchar_t* args; const char* message; } usages[] = {
      {L"--frobnicate x.mid -o y.mid", "unknown option '--frobnicate'"},
      {L"--filter programs x.mid -o y.mid", "unknown event kind 'programs'"},
      {L"--volume 0=0.5 x.mid -o y.mid", "sub-track N from 1 to 255"},
      {L"--pan 1=2 x.mid -o y.mid", "offset X from -1 to 1"},
      {L"--buffer-ms 0 x.mid -o y.mid", "--buffer-ms"},
      {L"x.mid", "no output file"},
  };
  for (const auto& u : usages) {
    ToolRun run = Tool(u.args);
    EXPECT_EQ(run.code, 2u) << u.message;
    EXPECT_NE(run.err.find(u.message), std::string::npos) << run.err;
  }
  ToolRun missing = Tool(L"Z:\\no\\such\\file.mid -o \"" + Out(L"none.mid") + L"\"");
  EXPECT_EQ(missing.code, 1u);
  EXPECT_NE(missing.err.find("cannot open the file"), std::string::npos) << missing.err;
}

TEST_F(HostTool, BufferLengthDoesNotChangeTheResult) {
  Tracks results[3];
  const wchar_t* lengths[] = {L"1", L"10", L"1000"};
  for (int i = 0; i < 3; ++i) {
    std::wstring out = Out(lengths[i]);
    ToolRun run = Tool(L"--buffer-ms " + std::wstring(lengths[i]) + L" --volume 2=0.1 \"" + Demo() + L"\" -o \"" + out + L"\"");
    ASSERT_EQ(run.code, 0u) << run.err;
    ASSERT_TRUE(ReadMidi(out, &results[i]));
  }
  EXPECT_EQ(results[0], results[1]);
  EXPECT_EQ(results[1], results[2]);
}

// What common readers accept is read with a warning naming the byte, and
// written as a file every reader takes.
TEST_F(HostTool, LenientReadingWarnsAndKeepsEveryEvent) {
  const std::vector<uint8_t> note = {0x00, 0x90, 0x3C, 0x40, 0x60, 0x80, 0x3C, 0x40, 0x83, 0x00, 0xFF, 0x2F, 0x00};
  std::vector<uint8_t> cut = Smf(1, 1, 96, {note});
  cut.pop_back();  // the file misses only its last byte
  struct Case {
    const wchar_t* name;
    std::vector<uint8_t> bytes, clean;
    const char* warning;
    const char* offset;
  } cases[] = {
      {L"running.mid", Smf(1, 1, 96, {{0x00, 0x90, 0x3C, 0x40, 0x10, 0xFF, 0x01, 0x01, 'x', 0x10, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}}),
       Smf(1, 1, 96, {{0x00, 0x90, 0x3C, 0x40, 0x10, 0xFF, 0x01, 0x01, 'x', 0x10, 0x90, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}}),
       "running status continued after a sysex or meta event (1 time)", "byte 32"},
      {L"fewer.mid", Smf(1, 3, 96, {note}), Smf(1, 1, 96, {note}), "the header counts 3 tracks, the file holds 1", "byte 35"},
      {L"cut.mid", cut, Smf(1, 1, 96, {note}), "track 1 is cut short by the end of the file", "byte 32"},
      {L"format0.mid", Smf(0, 2, 96, {note, note}), Smf(1, 2, 96, {note, note}), "format 0 with 2 tracks; read and written as format 1", "byte 8"},
  };
  for (const auto& c : cases) {
    const std::string name(c.name, c.name + wcslen(c.name));
    std::wstring in = Out(c.name), clean = Out(L"clean.mid"), out = Out(L"lenient-out.mid");
    WriteBytes(in, c.bytes);
    WriteBytes(clean, c.clean);
    ToolRun run = Tool(L"\"" + in + L"\" -o \"" + out + L"\"");
    ASSERT_EQ(run.code, 0u) << name << ": " << run.err;
    EXPECT_NE(run.err.find(std::string("warning: ") + c.offset + ": " + c.warning), std::string::npos) << run.err;
    Tracks expected, output;
    ASSERT_TRUE(ReadMidi(clean, &expected));
    ASSERT_TRUE(ReadMidi(out, &output)) << name;
    size_t injected = 0;
    EXPECT_TRUE(SameApartFrom(expected, output, [](const Ev&) { return false; }, &injected)) << name;
    const std::vector<uint8_t> written = ReadBytes(out);
    ASSERT_GT(written.size(), 14u);
    EXPECT_EQ(written[9], c.clean[9]) << name << ": format";
    EXPECT_EQ(written[11], c.clean[11]) << name << ": track count";
  }
}

TEST_F(HostTool, GuardRailsRefuseWithTheValidChoice) {
  std::wstring copy = Out(L"input.mid"), out = Out(L"guarded.mid");
  const std::vector<uint8_t> original = ReadBytes(Demo());
  WriteBytes(copy, original);
  // The input named again, by another spelling of its path.
  std::wstring again = copy.substr(0, copy.find_last_of(L'\\')) + L"\\.\\" + copy.substr(copy.find_last_of(L'\\') + 1);
  ToolRun self = Tool(L"\"" + copy + L"\" -o \"" + again + L"\"");
  EXPECT_EQ(self.code, 2u);
  EXPECT_NE(self.err.find("the output file is the input file"), std::string::npos) << self.err;
  EXPECT_EQ(ReadBytes(copy), original);

  ToolRun beyond = Tool(L"--volume 99=0.5 \"" + Demo() + L"\" -o \"" + out + L"\"");
  EXPECT_EQ(beyond.code, 2u);
  EXPECT_NE(beyond.err.find("--volume 99: the song has sub-tracks 1 to 3"), std::string::npos) << beyond.err;
  EXPECT_FALSE(Exists(out));

  ToolRun state = Tool(L"--save-state Z:\\no\\such\\folder\\s.bin \"" + Demo() + L"\" -o \"" + out + L"\"");
  EXPECT_EQ(state.code, 1u);
  EXPECT_NE(state.err.find("cannot create the state file"), std::string::npos) << state.err;
  EXPECT_FALSE(Exists(out)) << "checked before playing";

  ToolRun progress = Tool(L"--progress \"" + Demo() + L"\" -o \"" + out + L"\"");
  EXPECT_EQ(progress.code, 0u);
  EXPECT_NE(progress.err.find("playing: 100%\n"), std::string::npos) << progress.err;
  EXPECT_EQ(progress.out.find("playing"), std::string::npos);

  // 17 tracks of 16 channels: sub-tracks 256 to 272 are past the filter's table.
  std::vector<std::vector<uint8_t>> tracks(17);
  for (auto& t : tracks) {
    for (uint8_t ch = 0; ch < 16; ++ch) t.insert(t.end(), {0x00, uint8_t(0x90 | ch), 0x3C, 0x40});
    t.insert(t.end(), {0x00, 0xFF, 0x2F, 0x00});
  }
  std::wstring wide = Out(L"wide.mid");
  WriteBytes(wide, Smf(1, 17, 96, tracks));
  ToolRun list = Tool(L"--list \"" + wide + L"\" -o \"" + out + L"\"");
  EXPECT_EQ(list.code, 0u) << list.err;
  EXPECT_NE(list.out.find("  255  track 16, channel 15\n"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("  256  track 16, channel 16  (beyond 255: no volume or pan offset)"), std::string::npos);
  ToolRun past = Tool(L"--pan 256=0.5 \"" + wide + L"\" -o \"" + out + L"\"");
  EXPECT_EQ(past.code, 2u);
  EXPECT_NE(past.err.find("from 1 to 255"), std::string::npos) << past.err;
}

}  // namespace

namespace {

// A top-level dialog of another process whose title holds `text`.
HWND WaitForDialog(const wchar_t* text, int milliseconds = 30000) {
  struct Search {
    const wchar_t* text;
    HWND found;
  } search{text, nullptr};
  for (int waited = 0; waited < milliseconds && !search.found; waited += 50) {
    EnumWindows(
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          WCHAR title[256] = L"", cls[64] = L"";
          GetWindowTextW(window, title, 256);
          GetClassNameW(window, cls, 64);
          if (IsWindowVisible(window) && !wcscmp(cls, L"#32770") && wcsstr(title, s->text)) {
            s->found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(50);
  }
  return search.found;
}

// The page inside the frame: the child dialog that holds the mix grid (1606)
// and the pitch shift edit (1587).
HWND PageOf(HWND frame) {
  HWND found = nullptr;
  EnumChildWindows(
      frame,
      [](HWND child, LPARAM data) CALLBACK -> BOOL {
        if (GetDlgItem(child, 1606) && GetDlgItem(child, 1587)) {
          *reinterpret_cast<HWND*>(data) = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

// --edit: the page opens in the tool's property sheet; what is set there (here:
// notes filtered on playback) is what the song is played with, and
// --save-state keeps it.
TEST_F(HostTool, EditOpensThePageAndPlaysWithItsSettings) {
  std::wstring out = Out(L"edited.mid"), state = Out(L"edited.state");
  ToolRun run{};
  std::thread tool([&] { run = Tool(L"--edit \"" + Demo() + L"\" -o \"" + out + L"\" --save-state \"" + state + L"\""); });
  HWND frame = WaitForDialog(L"demo-song.mid");
  HWND page = frame ? PageOf(frame) : nullptr;
  EXPECT_NE(page, nullptr);
  if (page) {
    PostMessageW(page, WM_COMMAND, 103, 0);  // Playback Filter...
    HWND dialog = WaitForDialog(L"MIDI Event Filter");
    EXPECT_NE(dialog, nullptr);
    if (dialog) {
      HWND tree = GetDlgItem(dialog, 1284);
      PostMessageW(tree, WM_KEYDOWN, VK_HOME, 0);   // the first item: Note
      PostMessageW(tree, WM_KEYDOWN, VK_SPACE, 0);  // checked
      Sleep(200);
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      for (int waited = 0; IsWindow(dialog) && waited < 5000; waited += 50) Sleep(50);
    }
  }
  if (frame) PostMessageW(frame, PSM_PRESSBUTTON, PSBTN_OK, 0);
  tool.join();
  ASSERT_EQ(run.code, 0u) << run.err;
  Tracks output;
  ASSERT_TRUE(ReadMidi(out, &output));
  size_t injected = 0;
  EXPECT_TRUE(SameApartFrom(input_, output,
                            [](const Ev& e) { return (e.bytes[0] & 0xF0) == 0x90 && e.bytes.size() == 3 && e.bytes[2]; },
                            &injected));
  std::vector<uint8_t> saved = ReadBytes(state);
  ASSERT_GE(saved.size(), 24u);
  const uint32_t playbackMask = saved[20] | saved[21] << 8 | saved[22] << 16 | uint32_t(saved[23]) << 24;
  EXPECT_EQ(playbackMask, 0x40u);  // notes
}
