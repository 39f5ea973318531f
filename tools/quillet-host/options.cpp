#include "options.h"

#include <cwchar>

#include "event_kinds.h"
#include "quillet/plugin.h"

namespace tool {

namespace {

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s;
}

bool ParseOffset(const std::wstring& text, std::map<int, float>* into, std::string* error, const char* option) {
  size_t eq = text.find(L'=');
  wchar_t* end = nullptr;
  long n = eq == std::wstring::npos ? 0 : wcstol(text.c_str(), &end, 10);
  if (eq == std::wstring::npos || end != text.c_str() + eq || n < 1 || n >= QUILLET_SUBTRACKS) {
    *error = std::string(option) + " expects N=X with a sub-track N from 1 to 255: '" + Narrow(text) + "'";
    return false;
  }
  double x = wcstod(text.c_str() + eq + 1, &end);
  if (end == text.c_str() + eq + 1 || *end || !(x >= -1.0 && x <= 1.0)) {
    *error = std::string(option) + " expects an offset X from -1 to 1: '" + Narrow(text) + "'";
    return false;
  }
  (*into)[static_cast<int>(n)] = static_cast<float>(x);
  return true;
}

bool ParseKinds(const std::wstring& text, DWORD* mask, std::string* error) {
  std::string list = Narrow(text) + ",";
  size_t start = 0;
  for (size_t comma; (comma = list.find(',', start)) != std::string::npos; start = comma + 1) {
    std::string name = list.substr(start, comma - start);
    DWORD bit = KindByName(name);
    if (!bit) {
      *error = "--filter: unknown event kind '" + name + "'";
      return false;
    }
    *mask |= bit;
  }
  return true;
}

}  // namespace

const char* Usage() {
  return "usage: quillet-host [options] INPUT.mid -o OUTPUT.mid\n"
         "  --filter KINDS      remove these event kinds (e.g. program,sysex,aftertouch)\n"
         "  --volume N=X        volume offset X (-1..1) for sub-track N\n"
         "  --pan N=X           pan offset X (-1..1) for sub-track N\n"
         "  --edit              open the plug-in's property page first; OK plays and\n"
         "                      writes the song with what was set there, Cancel (or\n"
         "                      Escape, or the close box) undoes it and writes nothing\n"
         "  --state FILE        load the filter's saved settings first\n"
         "  --save-state FILE   save the filter's settings afterwards\n"
         "  --buffer-ms MS      playback buffer length (default 10)\n"
         "  --module PATH       load this plug-in module instead of the registered one\n"
         "  --list              print sub-tracks, channels and positions found\n"
         "  --progress          show progress even when stderr is not a terminal\n"
         "  --quiet             no progress display\n"
         "  --timings           print each stage's time and memory to stderr\n"
         "  --version           print the version and exit\n"
         "Sub-tracks are numbered 1, 2, ... in the order their track and channel first\n"
         "appear; offsets reach sub-tracks 1 to 255. The filter starts each sub-track at\n"
         "its offset volume and pan: without --state it starts from the song's own first\n"
         "controller 7 and 10 values (100 and 64 where the song has none), so a run\n"
         "without options writes a song that sounds the same. The pitch shift set on the\n"
         "page moves the notes (channel 10 excepted) as a host plays them.\n"
         "Exit codes: 0 written; 1 a file could not be read or written; 2 a mistake on\n"
         "the command line; 3 the property page was cancelled, nothing written.\n";
}

bool ParseOptions(int argc, wchar_t** argv, Options* o, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    auto value = [&](const char* name, std::wstring* into) {
      if (i + 1 >= argc) {
        *error = std::string(name) + " needs a value";
        return false;
      }
      *into = argv[++i];
      return true;
    };
    std::wstring v;
    if (arg == L"-o" || arg == L"--output") {
      if (!value("-o", &o->output)) return false;
    } else if (arg == L"--filter") {
      if (!value("--filter", &v) || !ParseKinds(v, &o->filterMask, error)) return false;
    } else if (arg == L"--volume") {
      if (!value("--volume", &v) || !ParseOffset(v, &o->volume, error, "--volume")) return false;
    } else if (arg == L"--pan") {
      if (!value("--pan", &v) || !ParseOffset(v, &o->pan, error, "--pan")) return false;
    } else if (arg == L"--state") {
      if (!value("--state", &o->stateIn)) return false;
    } else if (arg == L"--save-state") {
      if (!value("--save-state", &o->stateOut)) return false;
    } else if (arg == L"--module") {
      if (!value("--module", &o->module)) return false;
    } else if (arg == L"--buffer-ms") {
      if (!value("--buffer-ms", &v)) return false;
      wchar_t* end = nullptr;
      long ms = wcstol(v.c_str(), &end, 10);
      if (*end || ms < 1 || ms > 10000) {
        *error = "--buffer-ms expects milliseconds from 1 to 10000: '" + Narrow(v) + "'";
        return false;
      }
      o->bufferMs = static_cast<int>(ms);
    } else if (arg == L"--edit") {
      o->edit = true;
    } else if (arg == L"--list") {
      o->list = true;
    } else if (arg == L"--progress") {
      o->progress = true;
    } else if (arg == L"--quiet") {
      o->quiet = true;
    } else if (arg == L"--timings") {
      o->timings = true;
    } else if (arg == L"-h" || arg == L"--help") {
      o->help = true;
    } else if (arg == L"--version") {
      o->version = true;
    } else if (!arg.empty() && arg[0] == L'-') {
      *error = "unknown option '" + Narrow(arg) + "'";
      return false;
    } else if (o->input.empty()) {
      o->input = arg;
    } else {
      *error = "more than one input file: '" + Narrow(arg) + "'";
      return false;
    }
  }
  if (o->help || o->version) return true;
  if (o->input.empty()) {
    *error = "no input file";
    return false;
  }
  if (o->output.empty() && !o->list && o->stateOut.empty()) {
    *error = "no output file (-o OUT)";
    return false;
  }
  return true;
}

}  // namespace tool
