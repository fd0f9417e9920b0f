#include "tools/host/addin_call.h"

#include <cstdint>

#if defined(QUARVEN_STACK_PROBE)

// addin_call_i386.S: pushes count 32-bit arguments (args[0] ends up first),
// calls fn, stores in *removed how many bytes fn took off the stack, puts the
// stack back as it was whatever fn did, and returns fn's EAX.
extern "C" uint32_t __cdecl QuarvenCallMeasured(const void* fn, const uint32_t* args,
                                                uint32_t count, int32_t* removed);

namespace {

uint32_t Measure(const void* fn, const uint32_t* args, uint32_t count, StackCheck* check) {
  int32_t removed = 0;
  uint32_t result = QuarvenCallMeasured(fn, args, count, &removed);
  check->measured = true;
  check->removed = removed;
  check->expected = static_cast<int>(count * 4);
  return result;
}

uint32_t Word(const void* pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

}  // namespace

BOOL CallEntry(PVIRTUALCHANNELENTRY entry, PCHANNEL_ENTRY_POINTS entryPoints, StackCheck* check) {
  const uint32_t args[] = {Word(entryPoints)};
  return static_cast<BOOL>(Measure(reinterpret_cast<const void*>(entry), args, 1, check));
}

void CallInitEvent(PCHANNEL_INIT_EVENT_FN handler, LPVOID initHandle, UINT event, LPVOID data,
                   UINT dataLength, StackCheck* check) {
  const uint32_t args[] = {Word(initHandle), event, Word(data), dataLength};
  Measure(reinterpret_cast<const void*>(handler), args, 4, check);
}

void CallOpenEvent(PCHANNEL_OPEN_EVENT_FN handler, DWORD openHandle, UINT event, LPVOID data,
                   UINT32 dataLength, UINT32 totalLength, UINT32 dataFlags, StackCheck* check) {
  const uint32_t args[] = {openHandle, event, Word(data), dataLength, totalLength, dataFlags};
  Measure(reinterpret_cast<const void*>(handler), args, 6, check);
}

#else

BOOL CallEntry(PVIRTUALCHANNELENTRY entry, PCHANNEL_ENTRY_POINTS entryPoints, StackCheck* check) {
  *check = StackCheck{};
  return entry(entryPoints);
}

void CallInitEvent(PCHANNEL_INIT_EVENT_FN handler, LPVOID initHandle, UINT event, LPVOID data,
                   UINT dataLength, StackCheck* check) {
  *check = StackCheck{};
  handler(initHandle, event, data, dataLength);
}

void CallOpenEvent(PCHANNEL_OPEN_EVENT_FN handler, DWORD openHandle, UINT event, LPVOID data,
                   UINT32 dataLength, UINT32 totalLength, UINT32 dataFlags, StackCheck* check) {
  *check = StackCheck{};
  handler(openHandle, event, data, dataLength, totalLength, dataFlags);
}

#endif
