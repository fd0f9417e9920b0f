// quarven-host: a stand-in for the Windows Remote Desktop client, for one
// add-in and no server. See tools/host/README.md.
#include <cstdio>

#include "tools/host/options.h"
#include "tools/host/session.h"

int main(int argc, char** argv) {
  HostOptions options;
  std::string error;
  switch (ParseHostOptions(argc, argv, &options, &error)) {
    case ParseResult::kHelp:
      std::fputs(kUsage, stdout);
      return 0;
    case ParseResult::kError:
      std::fprintf(stderr, "quarven-host: %s\n\n%s", error.c_str(), kUsage);
      return 2;
    case ParseResult::kRun:
      break;
  }

  std::vector<Document> documents;
  if (!ReadDocuments(options.documents, &documents, &error)) {
    std::fprintf(stderr, "quarven-host: error: %s\n", error.c_str());
    return static_cast<int>(SessionStatus::kLoadFailed);
  }
  SessionResult result = RunSession(options, documents);
  if (result.status != SessionStatus::kRanThrough) {
    std::fprintf(stderr, "quarven-host: error: %s\n", result.error.c_str());
  }
  return static_cast<int>(result.status);
}
