// make bench: the receiver's cost per chunk, natively and as the 32-bit DLL under
// Wine, beside the floor of its design (open, append, close per chunk) and a file
// held open; its throughput beside link rates; and the peak memory of receiving
// 1 GiB against 1 MiB. Prints one table and whether each target is met.
//   quarven-bench NATIVE_DRIVER NATIVE_ADDIN X86_DRIVER X86_DLL X64_DRIVER X64_DLL
// A machine that cannot run 32-bit programs gets the 64-bit DLL under Wine instead,
// and the table says so.
#include <stdlib.h>
#include <sys/vfs.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tools/bench/child_process.h"
#include "tools/bench/chunk_runs.h"
#include "tools/bench/machine.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::uint64_t kDocument = 64 * kMiB;
constexpr unsigned kNativeRuns = 7;
constexpr unsigned kWineRuns = 5;
constexpr unsigned kMemoryRuns = 3;
constexpr double kFloorTarget = 1.05;    // receiver per chunk, against the floor
constexpr long kMemoryTargetKiB = 1024;  // 1 GiB document against 1 MiB

// Medians over the runs: seconds per chunk, the print request's seconds, and the
// receiver's time against the floor's in the same run.
struct PerChunk {
  double receiver;
  double printRequest;
  double floor;
  double heldOpen;
  double ratio;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::optional<PerChunk> ParseMeasurement(const ChildResult& run) {
  if (!run.succeeded) return std::nullopt;
  std::vector<double> receiver, printRequest, floor, heldOpen, ratios;
  std::istringstream lines(run.output);
  RunTimes times;
  while (lines >> times.receiver >> times.printRequest >> times.floor >> times.heldOpen) {
    receiver.push_back(times.receiver);
    printRequest.push_back(times.printRequest);
    floor.push_back(times.floor);
    heldOpen.push_back(times.heldOpen);
    ratios.push_back(times.receiver / times.floor);
  }
  if (receiver.empty()) return std::nullopt;
  double chunks = static_cast<double>(ChunkCount(kDocument));
  return PerChunk{Median(receiver) / chunks, Median(printRequest), Median(floor) / chunks,
                  Median(heldOpen) / chunks, Median(ratios)};
}

std::vector<std::string> MeasureCommand(const std::string& driver, const std::string& addin,
                                        unsigned runs) {
  return {driver, "measure", addin, std::to_string(kDocument), std::to_string(runs)};
}

// Wine takes a Windows path for LoadLibraryA: Z: is the root of the Linux file system.
std::string WindowsPath(const fs::path& path) {
  std::string windows = "Z:" + fs::absolute(path).string();
  std::replace(windows.begin(), windows.end(), '/', '\\');
  return windows;
}

// One Windows build and the Wine that runs it.
struct WindowsBuild {
  const char* name;    // for the table
  const char* loader;  // Wine's loader for this architecture
  const char* arch;    // WINEARCH of its prefix
  std::string driver;
  std::string dll;
};

bool CanRun(const WindowsBuild& build, const fs::path& work) {
  return RunChild({build.loader, "--version"}, work.string(), {}, /*quiet=*/true).succeeded;
}

std::optional<PerChunk> MeasureUnderWine(const WindowsBuild& build, const fs::path& work) {
  fs::path directory = work / build.arch;
  fs::create_directories(directory);
  // A fresh prefix of our own; Wine's .NET and HTML engines cannot be had here.
  std::vector<std::pair<std::string, std::string>> wine = {
      {"WINEPREFIX", (work / (std::string("prefix-") + build.arch)).string()},
      {"WINEARCH", build.arch},
      {"WINELOADER", build.loader},
      {"WINEDEBUG", "-all"},
      {"WINEDLLOVERRIDES", "mscoree=;mshtml="}};
  std::fprintf(stderr, "creating a %s Wine prefix...\n", build.arch);
  if (!RunChild({build.loader, "wineboot", "-i"}, directory.string(), wine).succeeded) {
    return std::nullopt;
  }
  std::fprintf(stderr, "measuring the %s (%u runs)...\n", build.name, kWineRuns);
  std::vector<std::string> command =
      MeasureCommand(build.driver, WindowsPath(build.dll), kWineRuns);
  command.insert(command.begin(), build.loader);
  std::optional<PerChunk> result = ParseMeasurement(RunChild(command, directory.string(), wine));
  RunChild({"wineserver", "-k"}, directory.string(), wine);
  return result;
}

// The median peak of native processes that each receive one document of this size.
long PeakKiB(const std::string& driver, const std::string& addin, std::uint64_t size,
             const fs::path& directory) {
  std::vector<double> peaks;
  for (unsigned run = 0; run < kMemoryRuns; ++run) {
    ChildResult child = RunChild({driver, "receive", addin, std::to_string(size)}, directory);
    fs::remove(directory / "temp.pdf");
    if (!child.succeeded) return -1;
    peaks.push_back(static_cast<double>(child.peakKiB));
  }
  return static_cast<long>(Median(peaks));
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}

const char* Verdict(bool met) { return met ? "met" : "NOT met"; }

void Row(const std::string& what, const std::string& native, const std::string& wine) {
  std::printf("| %-50s | %-24s | %-30s |\n", what.c_str(), native.c_str(), wine.c_str());
}

// One column's figures; "not measured" where the run failed.
struct Column {
  std::optional<PerChunk> perChunk;

  std::string Micros(double PerChunk::*field) const {
    return perChunk ? Format("%.2f us", (*perChunk).*field * 1e6) : "not measured";
  }
  std::string Millis(double PerChunk::*field) const {
    return perChunk ? Format("%.2f ms", (*perChunk).*field * 1e3) : "not measured";
  }
  std::optional<double> Ratio() const {
    if (!perChunk) return std::nullopt;
    return perChunk->ratio;
  }
  std::string RatioText() const {
    std::optional<double> ratio = Ratio();
    return ratio ? Format("%.3f, ", *ratio) + Verdict(*ratio <= kFloorTarget) : "not measured";
  }
  double Mbits() const {
    return kDocument * 8.0 / (perChunk->receiver * ChunkCount(kDocument)) / 1e6;
  }
  std::string Throughput() const {
    return perChunk ? Format("%.0f Mbit/s", Mbits()) : "not measured";
  }
  std::string AgainstLink(double linkMbits) const {
    if (!perChunk) return "not measured";
    double times = Mbits() / linkMbits;
    return Format("%.2f x the link", times) + (times >= 1 ? ", faster" : ", slower");
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr,
                 "usage: quarven-bench NATIVE_DRIVER NATIVE_ADDIN X86_DRIVER X86_DLL X64_DRIVER "
                 "X64_DLL\n");
    return 2;
  }
  std::string nativeDriver = fs::absolute(argv[1]).string();
  std::string nativeAddin = fs::absolute(argv[2]).string();
  WindowsBuild x86{"32-bit DLL under Wine", "/usr/lib/wine/wine", "win32",
                   fs::absolute(argv[3]).string(), fs::absolute(argv[4]).string()};
  WindowsBuild x64{"64-bit DLL under Wine", "/usr/lib/wine/wine64", "win64",
                   fs::absolute(argv[5]).string(), fs::absolute(argv[6]).string()};

  // The documents go to real disk, never to memory.
  std::string pattern = (fs::temp_directory_path() / "quarven-bench-XXXXXX").string();
  struct statfs where {};
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror(pattern.c_str());
    return 2;
  }
  if (statfs(pattern.c_str(), &where) != 0 || where.f_type == 0x01021994 /* tmpfs */) {
    fs::remove(pattern);
    std::fprintf(stderr, "need a temporary directory on disk: set TMPDIR to one\n");
    return 2;
  }
  fs::path work = pattern;
  fs::create_directories(work / "native");

  std::fprintf(stderr, "measuring natively (%u runs)...\n", kNativeRuns);
  Column native{ParseMeasurement(RunChild(MeasureCommand(nativeDriver, nativeAddin, kNativeRuns),
                                          (work / "native").string()))};
  bool runs32 = CanRun(x86, work);
  const WindowsBuild& windows = runs32 ? x86 : x64;
  Column wine{MeasureUnderWine(windows, work)};
  std::fprintf(stderr, "measuring peak memory (%u runs of each)...\n", kMemoryRuns);
  long smallKiB = PeakKiB(nativeDriver, nativeAddin, kMiB, work / "native");
  long largeKiB = PeakKiB(nativeDriver, nativeAddin, 1024 * kMiB, work / "native");
  fs::remove_all(work);

  std::printf("quarven receiver benchmark\n");
  std::printf("machine: %s\n", DescribeMachine().c_str());
  std::printf(
      "64 MiB document in %u-byte chunks (%llu chunks); medians of %u native, %u Wine,\n"
      "%u peak-memory runs\n",
      kChunkSize, static_cast<unsigned long long>(ChunkCount(kDocument)), kNativeRuns, kWineRuns,
      kMemoryRuns);
  if (!runs32) {
    std::printf(
        "this machine cannot run 32-bit programs (%s fails), so the Wine column\n"
        "is the 64-bit DLL, from the same sources with the same C runtime\n",
        x86.loader);
  }
  std::printf("\n");
  Row("", "native (glibc)", std::string(windows.name) + " (msvcrt)");
  std::printf("|%s|%s|%s|\n", std::string(52, '-').c_str(), std::string(26, '-').c_str(),
              std::string(32, '-').c_str());
  Row("receiver, per chunk", native.Micros(&PerChunk::receiver), wine.Micros(&PerChunk::receiver));
  Row("  of which the print request, once", native.Millis(&PerChunk::printRequest),
      wine.Millis(&PerChunk::printRequest));
  Row("(a) floor: open, append, close, per chunk", native.Micros(&PerChunk::floor),
      wine.Micros(&PerChunk::floor));
  Row("(b) file held open, per chunk", native.Micros(&PerChunk::heldOpen),
      wine.Micros(&PerChunk::heldOpen));
  Row("receiver / floor in the same run (target <= 1.05)", native.RatioText(), wine.RatioText());
  Row("receiver throughput", native.Throughput(), wine.Throughput());
  Row("  against a 100 Mbit/s link", native.AgainstLink(100), wine.AgainstLink(100));
  Row("  against a 1 Gbit/s link", native.AgainstLink(1000), wine.AgainstLink(1000));
  bool memoryMeasured = smallKiB > 0 && largeKiB > 0;
  long growthKiB = largeKiB - smallKiB;
  Row("peak memory receiving 1 MiB", memoryMeasured ? std::to_string(smallKiB) + " KiB" : "failed",
      "-");
  Row("peak memory receiving 1 GiB", memoryMeasured ? std::to_string(largeKiB) + " KiB" : "failed",
      "-");
  Row("1 GiB minus 1 MiB (target <= 1024 KiB)",
      memoryMeasured ? std::to_string(growthKiB) + " KiB, " + Verdict(growthKiB <= kMemoryTargetKiB)
                     : "failed",
      "-");

  bool met = native.Ratio() && *native.Ratio() <= kFloorTarget && wine.Ratio() &&
             *wine.Ratio() <= kFloorTarget && memoryMeasured && growthKiB <= kMemoryTargetKiB;
  std::printf("\ntargets: %s\n", met ? "all met" : "NOT all met");
  return met ? 0 : 1;
}
