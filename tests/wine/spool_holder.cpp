// Holds a file open without sharing, as a PDF reader that keeps the printed
// file open does, until told to let go.
//   spool-holder PATH READY_EVENT RELEASE_EVENT
// Signals READY_EVENT once the file is held (exit 1 if it cannot be opened),
// closes it when RELEASE_EVENT is signalled (or after two minutes).
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: spool-holder PATH READY_EVENT RELEASE_EVENT\n");
    return 2;
  }
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
  if (ready == nullptr || release == nullptr) {
    std::fprintf(stderr, "spool-holder: no events %s, %s\n", argv[2], argv[3]);
    return 2;
  }
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0 /* no sharing */, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "spool-holder: cannot open %s (error %lu)\n", argv[1],
                 static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  SetEvent(ready);
  WaitForSingleObject(release, 120000);
  CloseHandle(file);
  return 0;
}
