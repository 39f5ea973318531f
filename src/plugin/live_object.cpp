#include "plugin/live_object.h"

#include <atomic>

namespace quillet {
namespace {

std::atomic<LONG> g_liveObjects{0};

}  // namespace

LiveObject::LiveObject() noexcept { ++g_liveObjects; }
LiveObject::~LiveObject() { --g_liveObjects; }

LONG LiveObjectCount() noexcept { return g_liveObjects.load(); }

}  // namespace quillet
