// A small check framework for the Windows-side test programs: each failed
// check prints its place and values, and the program ends with
// "NAME: N passed, N failed".
#pragma once

#include <cstdio>
#include <sstream>
#include <string>

namespace check {

inline int& Passed() {
  static int passed = 0;
  return passed;
}
inline int& Failed() {
  static int failed = 0;
  return failed;
}

inline bool Record(bool ok, const char* file, int line, const std::string& what) {
  if (ok) {
    ++Passed();
  } else {
    ++Failed();
    std::printf("FAIL %s:%d: %s\n", file, line, what.c_str());
    std::fflush(stdout);
  }
  return ok;
}

template <typename A, typename B>
bool RecordEq(const A& a, const B& b, const char* aText, const char* bText, const char* file,
              int line) {
  bool ok = a == b;
  if (ok) return Record(true, file, line, "");
  std::ostringstream what;
  what << aText << " == " << bText << "\n    left:  " << a << "\n    right: " << b;
  return Record(false, file, line, what.str());
}

// Prints the closing line and gives the exit status.
inline int Finish(const char* name) {
  std::printf("%s: %d passed, %d failed\n", name, Passed(), Failed());
  std::fflush(stdout);
  return Failed() == 0 && Passed() > 0 ? 0 : 1;
}

}  // namespace check

#define CHECK(condition) ::check::Record((condition), __FILE__, __LINE__, #condition)
#define CHECK_EQ(a, b) ::check::RecordEq((a), (b), #a, #b, __FILE__, __LINE__)
// Says what the program is doing, so that a failure reads in its context.
#define STEP(...)                  \
  do {                             \
    std::printf("-- " __VA_ARGS__); \
    std::printf("\n");             \
    std::fflush(stdout);           \
  } while (0)
