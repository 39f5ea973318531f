// The filter's settings in the host's project stream (version 1):
// version, length of the rest, block size, then the block itself: its size
// again, the chase and playback masks and the 256-entry mix table.
#include <cstring>

#include "plugin/filter_object.h"

namespace quillet {

namespace {

constexpr DWORD kBlockSize = 6156;
constexpr DWORD kLength = 6160;  // block size word plus the block

struct Block {
  DWORD size;
  DWORD chaseMask;
  DWORD playbackMask;
  QUILLET_MIX mix[QUILLET_SUBTRACKS];
};
static_assert(sizeof(Block) == kBlockSize, "persisted block");

HRESULT WriteAll(IStream* stream, const void* data, ULONG size) {
  ULONG written = 0;
  HRESULT hr = stream->Write(data, size, &written);
  if (FAILED(hr)) return hr;
  return written == size ? S_OK : STG_E_WRITEFAULT;
}

HRESULT ReadAll(IStream* stream, void* data, ULONG size) {
  ULONG read = 0;
  HRESULT hr = stream->Read(data, size, &read);
  if (FAILED(hr)) return hr;
  return read == size ? S_OK : STG_E_READFAULT;  // a short stream
}

HRESULT Tell(IStream* stream, ULARGE_INTEGER* position) {
  LARGE_INTEGER zero{};
  return stream->Seek(zero, STREAM_SEEK_CUR, position);
}

HRESULT SeekTo(IStream* stream, ULARGE_INTEGER position) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(position.QuadPart);
  return stream->Seek(to, STREAM_SEEK_SET, nullptr);
}

}  // namespace

HRESULT FilterObject::Save(IStream* stream, BOOL clearDirty) noexcept {
  if (!stream) return E_POINTER;
  Block block{};
  block.size = kBlockSize;
  block.chaseMask = chaseMask_;
  block.playbackMask = playbackMask_;
  memcpy(block.mix, mix_, sizeof(mix_));
  const DWORD version = QUILLET_STREAM_VERSION, zero = 0;
  ULARGE_INTEGER lengthAt, end;
  HRESULT hr = WriteAll(stream, &version, sizeof(version));
  if (SUCCEEDED(hr)) hr = Tell(stream, &lengthAt);
  if (SUCCEEDED(hr)) hr = WriteAll(stream, &zero, sizeof(zero));
  if (SUCCEEDED(hr)) hr = WriteAll(stream, &block.size, sizeof(block.size));
  if (SUCCEEDED(hr)) hr = WriteAll(stream, &block, sizeof(block));
  if (FAILED(hr)) return hr;
  if (clearDirty) dirty_ = 0;
  hr = Tell(stream, &end);
  if (SUCCEEDED(hr)) hr = SeekTo(stream, lengthAt);
  const DWORD length = static_cast<DWORD>(end.QuadPart - lengthAt.QuadPart - sizeof(DWORD));
  if (SUCCEEDED(hr)) hr = WriteAll(stream, &length, sizeof(length));
  if (SUCCEEDED(hr)) hr = SeekTo(stream, end);
  return hr;
}

// Anything but a whole version-1 record leaves the object as it was and
// the stream where it started. A block larger than the filter's own is
// refused rather than read past the table.
HRESULT FilterObject::Load(IStream* stream) noexcept {
  if (!stream) return E_POINTER;
  ULARGE_INTEGER start;
  HRESULT hr = Tell(stream, &start);
  if (FAILED(hr)) return hr;
  auto fail = [&](HRESULT error) {
    SeekTo(stream, start);
    return error;
  };
  DWORD version = 0, length = 0, size = 0;
  hr = ReadAll(stream, &version, sizeof(version));
  if (FAILED(hr)) return fail(hr);
  if (version != QUILLET_STREAM_VERSION) return fail(E_FAIL);
  hr = ReadAll(stream, &length, sizeof(length));
  if (FAILED(hr)) return fail(hr);
  if (length == 0) return S_OK;
  hr = ReadAll(stream, &size, sizeof(size));
  if (FAILED(hr)) return fail(hr);
  if (size > kBlockSize) return fail(E_FAIL);
  Block block{};
  hr = ReadAll(stream, &block, size);
  if (FAILED(hr)) return fail(hr);
  chaseMask_ = block.chaseMask;
  playbackMask_ = block.playbackMask;
  memcpy(mix_, block.mix, sizeof(mix_));
  return S_OK;
}

}  // namespace quillet
