// Fuzzes the receiver against its model. The input decodes into a run of
// open-handler calls, each with the faults of the file system it meets; after
// every call the spool file and the print requests must be what the model says.
#include <fuzzer/FuzzedDataProvider.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "printjob/open_event.h"
#include "tests/fuzz/receiver_model.h"
#include "tests/fuzz/spool_faults.h"
#include "tests/support/windows_double.h"

namespace {

constexpr std::size_t kMaxChunk = 16384;  // well past the host's 1600 and stdio's buffer

std::string gDirectory;  // the current directory of the whole run

struct Call {
  UINT event;
  UINT32 dataFlags;
  UINT32 totalLength;
  std::string bytes;
  SpoolFaults faults;
};

UINT DecodeEvent(FuzzedDataProvider& input) {
  std::uint8_t pick = input.ConsumeIntegral<std::uint8_t>();
  if (pick < 0xE0) return CHANNEL_EVENT_DATA_RECEIVED;
  if (pick < 0xF0) return CHANNEL_EVENT_WRITE_COMPLETE;
  if (pick < 0xF8) return CHANNEL_EVENT_WRITE_CANCELLED;
  return input.ConsumeIntegral<UINT>();
}

Call DecodeCall(FuzzedDataProvider& input, const ReceiverModel& model) {
  Call call;
  std::uint8_t faults = input.ConsumeIntegral<std::uint8_t>();
  call.event = DecodeEvent(input);
  call.dataFlags = input.ConsumeIntegral<UINT32>();
  call.totalLength = input.ConsumeIntegral<UINT32>();
  std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, kMaxChunk);
  call.bytes = input.ConsumeBytesAsString(length);
  // A short input still makes long chunks: the rest follows a pattern.
  for (std::size_t i = call.bytes.size(); i < length; ++i) {
    call.bytes += static_cast<char>(i * 131 + length);
  }
  call.faults.openFails = faults & 1;
  call.faults.removeFails = faults & 2;
  call.faults.queryFails = faults & 4;
  if (faults & 8) {
    // Room for a part of this chunk, counted from where its bytes would go.
    bool startsAfresh = (call.dataFlags & CHANNEL_FLAG_FIRST) || !model.spool();
    std::uint64_t size = startsAfresh ? 0 : model.spool()->size();
    call.faults.sizeLimit = size + input.ConsumeIntegralInRange<std::uint64_t>(0, length);
  }
  return call;
}

std::string Describe(const std::optional<std::string>& content) {
  if (!content) return "no file";
  std::string text = std::to_string(content->size()) + " bytes \"";
  text += content->substr(0, 40);
  return text + (content->size() > 40 ? "...\"" : "\"");
}

[[noreturn]] void Fail(std::size_t step, const std::string& what) {
  std::fprintf(stderr, "call %zu: %s\n", step, what.c_str());
  abort();
}

void CheckAgainst(const ReceiverModel& model, std::size_t step) {
  std::optional<std::string> spool = ReadSpool();
  if (spool != model.spool()) {
    Fail(step, "spool file holds " + Describe(spool) + ", expected " + Describe(model.spool()));
  }
  const std::vector<PrintRequest>& prints = Windows().prints;
  if (prints.size() != model.prints().size()) {
    Fail(step, std::to_string(prints.size()) + " print requests, expected " +
                   std::to_string(model.prints().size()));
  }
  for (std::size_t i = 0; i < prints.size(); ++i) {
    const PrintRequest& request = prints[i];
    if (request.spoolContent != model.prints()[i]) {
      Fail(step, "print " + std::to_string(i) + " of " + Describe(request.spoolContent) +
                     ", expected " + Describe(model.prints()[i]));
    }
    if (request.owner != nullptr || request.verb != "print" || request.file != "temp.pdf" ||
        request.hasParameters || request.directory != gDirectory || request.show != SW_HIDE ||
        request.spoolStillOpen) {
      Fail(step, "print " + std::to_string(i) + " asked for something else");
    }
  }
  if (!Windows().notices.empty()) Fail(step, "the receiver showed a notice");
  if (!Windows().allocationSizes.empty()) Fail(step, "the receiver allocated memory");
  if (SpoolIsOpen()) Fail(step, "the spool file is still open");
}

// Each input starts where a freshly loaded add-in would, with no spool file.
void StartAfresh() {
  ResetWindows();
  // An empty first chunk clears the receiver's memory of a dropped document.
  VirtualChannelOpenEvent(0, CHANNEL_EVENT_DATA_RECEIVED, nullptr, 0, 0, CHANNEL_FLAG_FIRST);
  std::filesystem::remove("temp.pdf");
  ResetWindows();
}

void RemoveDirectory() { std::filesystem::remove_all(gDirectory); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "quarven-fuzz-XXXXXX").string();
  char cwd[PATH_MAX];
  if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0 ||
      getcwd(cwd, sizeof(cwd)) == nullptr) {
    perror("quarven fuzz directory");
    abort();
  }
  gDirectory = cwd;
  atexit(RemoveDirectory);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StartAfresh();
  FuzzedDataProvider input(data, size);
  ReceiverModel model;
  for (std::size_t step = 0; input.remaining_bytes() > 0; ++step) {
    Call call = DecodeCall(input, model);
    // Exactly as long as the chunk, so that reading past dataLength is an overflow.
    std::vector<char> chunk(call.bytes.begin(), call.bytes.end());
    LPVOID pData = chunk.empty() ? nullptr : chunk.data();
    // Other events carry the add-in's own user pointer: any use of it must fail.
    if (call.event != CHANNEL_EVENT_DATA_RECEIVED) pData = reinterpret_cast<LPVOID>(16);
    {
      SpoolFaultScope faults(call.faults);
      VirtualChannelOpenEvent(100, call.event, pData, static_cast<UINT32>(chunk.size()),
                              call.totalLength, call.dataFlags);
    }
    model.Call(call.event, call.dataFlags, call.bytes, call.faults);
    CheckAgainst(model, step);
  }
  return 0;
}
