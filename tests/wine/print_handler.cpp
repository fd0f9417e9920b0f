// The print handler of the Wine tests and the demo: registered in the test
// prefix as the "print" command of .pdf files, it stands in for the PDF
// reader that prints. It records what reached it, one line per start in
// prints.log, and keeps a copy of the file as it found it (print-N.pdf), both
// in the folder named by QUARVEN_PRINT_LOG_DIR (else its own folder).
//
// Line format, fields separated by '|':
//   n=N|path=ARG1|cwd=DIR|startflags=0xF|show=S|size=BYTES|copy=print-N.pdf|args=ARGC
// or, when the file could not be read, error=... in place of size and copy.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string LogDirectory() {
  char buffer[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("QUARVEN_PRINT_LOG_DIR", buffer, sizeof(buffer));
  if (length > 0 && length < sizeof(buffer)) return buffer;
  length = GetModuleFileNameA(nullptr, buffer, sizeof(buffer));
  std::string self(buffer, length);
  return self.substr(0, self.find_last_of("\\/"));
}

bool ReadWhole(const char* path, std::vector<char>* bytes, DWORD* error) {
  // Share everything: a reader must not get in the way of the next document.
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    return false;
  }
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes->insert(bytes->end(), buffer, buffer + got);
  }
  CloseHandle(file);
  return true;
}

int CountLines(const std::string& path) {
  FILE* log = std::fopen(path.c_str(), "rb");
  if (log == nullptr) return 0;
  int lines = 0, c;
  while ((c = std::fgetc(log)) != EOF) lines += c == '\n';
  std::fclose(log);
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  // What the shell passed on: the show command comes in the start-up information.
  STARTUPINFOA startup;
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  char cwd[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof(cwd), cwd);
  const char* path = argc > 1 ? argv[1] : "";

  std::vector<char> bytes;
  DWORD error = 0;
  bool read = ReadWhole(path, &bytes, &error);

  std::string dir = LogDirectory();
  // Handlers of two documents may run at once: one writes the log at a time.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "quarven-print-handler-log");
  WaitForSingleObject(mutex, 30000);
  int n = CountLines(dir + "\\prints.log") + 1;
  char line[2 * MAX_PATH + 256];
  if (read) {
    std::string copy = "print-" + std::to_string(n) + ".pdf";
    FILE* out = std::fopen((dir + "\\" + copy).c_str(), "wb");
    if (out != nullptr) {
      if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out);
      std::fclose(out);
    }
    std::snprintf(line, sizeof(line), "n=%d|path=%s|cwd=%s|startflags=0x%lx|show=%u|size=%zu|copy=%s|args=%d\n",
                  n, path, cwd, static_cast<unsigned long>(startup.dwFlags),
                  static_cast<unsigned>(startup.wShowWindow), bytes.size(), copy.c_str(), argc - 1);
  } else {
    std::snprintf(line, sizeof(line), "n=%d|path=%s|cwd=%s|startflags=0x%lx|show=%u|error=%lu|args=%d\n", n,
                  path, cwd, static_cast<unsigned long>(startup.dwFlags),
                  static_cast<unsigned>(startup.wShowWindow), static_cast<unsigned long>(error),
                  argc - 1);
  }
  FILE* log = std::fopen((dir + "\\prints.log").c_str(), "ab");
  if (log != nullptr) {
    std::fputs(line, log);
    std::fclose(log);
  }
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  return read ? 0 : 1;
}
