#include "filter_state.h"

#include <cstring>

namespace hostkit {

namespace {
DWORD Word(const std::vector<BYTE>& bytes, size_t at) {
  DWORD v;
  memcpy(&v, bytes.data() + at, 4);
  return v;
}
constexpr DWORD kBlock = 12 + sizeof(QUILLET_MIX) * QUILLET_SUBTRACKS;  // 6156
}  // namespace

std::vector<BYTE> SerializeState(const FilterState& s) {
  // One fixed-size record: the head words, then the table.
  const DWORD head[] = {QUILLET_STREAM_VERSION, kBlock + 4, kBlock, kBlock, s.chaseMask, s.playbackMask};
  std::vector<BYTE> out(sizeof(head) + sizeof(s.mix));
  memcpy(out.data(), head, sizeof(head));
  memcpy(out.data() + sizeof(head), s.mix, sizeof(s.mix));
  return out;
}

bool ParseState(const std::vector<BYTE>& bytes, FilterState* s) {
  if (bytes.size() < 24 + sizeof(s->mix) || Word(bytes, 0) != QUILLET_STREAM_VERSION || Word(bytes, 8) != kBlock)
    return false;
  s->chaseMask = Word(bytes, 16);
  s->playbackMask = Word(bytes, 20);
  memcpy(s->mix, bytes.data() + 24, sizeof(s->mix));
  return true;
}

HRESULT LoadStateInto(IUnknown* filter, const FilterState& state) {
  IPersistStream* persist = nullptr;
  HRESULT hr = filter->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
  if (FAILED(hr)) return hr;
  std::vector<BYTE> bytes = SerializeState(state);
  IStream* stream = nullptr;
  hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (SUCCEEDED(hr)) hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  LARGE_INTEGER zero{};
  if (SUCCEEDED(hr)) hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  if (SUCCEEDED(hr)) hr = persist->Load(stream);
  if (stream) stream->Release();
  persist->Release();
  return hr;
}

HRESULT SaveStateFrom(IUnknown* filter, std::vector<BYTE>* bytes) {
  IPersistStream* persist = nullptr;
  HRESULT hr = filter->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
  if (FAILED(hr)) return hr;
  IStream* stream = nullptr;
  hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (SUCCEEDED(hr)) hr = persist->Save(stream, TRUE);
  if (SUCCEEDED(hr)) {
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    bytes->resize(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    hr = stream->Read(bytes->data(), static_cast<ULONG>(bytes->size()), nullptr);
  }
  if (stream) stream->Release();
  persist->Release();
  return hr;
}

}  // namespace hostkit
