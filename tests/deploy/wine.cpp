#include "tests/deploy/wine.h"

#include <filesystem>

#include "tests/deploy/deploy_paths.h"

bool WinePrefix::Ready() const { return std::filesystem::exists(state + "/prefix/system.reg"); }

Ran WinePrefix::Run(const std::vector<std::string>& args, const std::string& directory,
                    const std::map<std::string, std::string>& environment) const {
  std::vector<std::string> command{loader};
  command.insert(command.end(), args.begin(), args.end());
  std::map<std::string, std::string> wineEnvironment{
      {"WINEPREFIX", state + "/prefix"}, {"WINELOADER", loader}, {"WINEDEBUG", "-all"}};
  for (const auto& [name, value] : environment) wineEnvironment[name] = value;
  return ::Run(command, directory, wineEnvironment);
}

WinePrefix PrefixFor(const std::string& arch) {
  return WinePrefix{arch, std::string(kWineSessions) + "/" + arch,
                    arch == "x64" ? "/usr/lib/wine/wine64" : "/usr/lib/wine/wine"};
}

std::string WindowsPath(const std::string& linuxPath) {
  std::string path = "Z:" + std::filesystem::absolute(linuxPath).lexically_normal().string();
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}
