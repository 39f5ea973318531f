// The beep helper: a system sound by its registered event name, played
// asynchronously. The player is looked up when first needed, so the module
// does not load the multimedia library until someone beeps.
#include "errors/msgbox_internal.h"

namespace zq::errors {
namespace {

using PlaySoundFunction = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);

PlaySoundFunction Player() noexcept {
  static PlaySoundFunction player = [] {
    HMODULE module = LoadLibraryW(L"winmm.dll");
    return module ? reinterpret_cast<PlaySoundFunction>(GetProcAddress(module, "PlaySoundW")) : nullptr;
  }();
  return player;
}

const WCHAR* SoundName(int kind) noexcept {
  switch (kind) {
    case 1: return L"SystemExclamation";
    case 2: return L"SystemAsterisk";
    case 3: return L"SystemQuestion";
    case 4: return L"Halvane_DoneProcessing";
    default: return L"SystemDefault";
  }
}

constexpr DWORD kAlias = 0x00010000;  // SND_ALIAS
constexpr DWORD kAsync = 0x0001;      // SND_ASYNC

}  // namespace
}  // namespace zq::errors

ZQAPI BOOL WINAPI ZqBeep(int kind) noexcept {
  zq::errors::PlaySoundFunction play = zq::errors::Player();
  return play ? play(zq::errors::SoundName(kind), nullptr, zq::errors::kAlias | zq::errors::kAsync) : FALSE;
}
