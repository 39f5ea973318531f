// The filter's process() on large buffers against a plain find pass over
// the same in-memory buffer.
#include <objbase.h>

#include <random>

#include "bench.h"
#include "filter_state.h"
#include "hostkit.h"
#include "quillet/plugin.h"

namespace {

using hostkit::EventBuffer;
using hostkit::MakeShort;

void Fill(EventBuffer* buffer, int n) {
  std::mt19937 rng(99);
  for (int i = 0; i < n; ++i) {
    DWORD sub = 1 + rng() % 8;
    LONG channel = static_cast<LONG>(sub - 1);
    switch (rng() % 10) {
      case 0: buffer->Add(MakeShort(QEV_CONTROL, sub, channel, i, 7, rng() % 128)); break;
      case 1: buffer->Add(MakeShort(QEV_CONTROL, sub, channel, i, 10, rng() % 128)); break;
      case 2: buffer->Add(MakeShort(QEV_PROGRAM, sub, channel, i, rng() % 128)); break;
      case 3: buffer->Add(MakeShort(QEV_CONTROL, sub, channel, i, 1, rng() % 128)); break;
      default: buffer->Add(MakeShort(QEV_NOTE, sub, channel, i, 40 + rng() % 40, 100)); break;
    }
  }
}

void ProcessBuffers() {
  CoInitialize(nullptr);
  IQuilletFilter* filter = nullptr;
  IClassFactory* factory = nullptr;
  HMODULE module = LoadLibraryW(L"quillet.dll");
  auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      GetProcAddress(module, "DllGetClassObject"));
  getClassObject(CLSID_QuilletFilter, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  factory->CreateInstance(nullptr, IID_IQuilletFilter, reinterpret_cast<void**>(&filter));
  hostkit::Host* host = hostkit::Host::Create();
  for (int i = 0; i < 8; ++i) host->AddSubTrack(i, L"part");
  hostkit::FilterState state;
  state.playbackMask = QEV_PROGRAM;
  for (int i = 1; i <= 8; ++i) state.mix[i] = {0.1f, 0, 64, -0.1f, 0, 64};
  hostkit::LoadStateInto(filter, state);
  DWORD caps = 1;
  filter->Connect(static_cast<IQuilletTrack*>(host), nullptr, 1, 0, &caps);
  IQuilletProcess* process = nullptr;
  filter->QueryInterface(IID_IQuilletProcess, reinterpret_cast<void**>(&process));

  constexpr int kEvents = 10000;
  EventBuffer* buffer = nullptr;
  auto prepare = [&] {
    if (buffer) buffer->Release();
    buffer = EventBuffer::Create();
    Fill(buffer, kEvents);
  };
  QUILLET_BUFFERINFO info{};
  info.flags = QBUF_PLAYBACK;
  double ours = bench::Time(prepare, [&] { process->Process(buffer, &info); }, 5);
  double baseline = bench::Time(prepare,
                                [&] {
                                  DWORD position;
                                  QUILLET_EVENT e{};
                                  BOOL more;
                                  for (HRESULT hr = buffer->FindFirst(&position, &e, &more, 0xFFFFFFFF); hr == S_OK;
                                       hr = buffer->FindNext(&position, &e, &more, 0xFFFFFFFF)) {
                                  }
                                },
                                5);
  bench::Report("filter process, 10000 events", ours, baseline, "find pass over the buffer");
  buffer->Release();
  process->Release();
  filter->Disconnect();
  filter->Release();
  factory->Release();
  host->Release();
  CoUninitialize();
}

}  // namespace

BENCHMARK_ENTRY("filter process", ProcessBuffers);
