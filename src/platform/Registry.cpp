#include "platform/Registry.h"

#include "platform/SysUtils.h"

#include <array>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace qbt {

namespace {

constexpr std::array<const char*, 4> RootKeyNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                     "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

bool IsFolder(const std::string& Path) {
  struct stat St {};
  return ::stat(Path.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

// The entry of Folder named Name without regard to ASCII case, the exact name first.
bool FindSubFolder(const std::string& Folder, std::string_view Name, std::string& Found) {
  std::string Exact = Folder + PathDelim + std::string(Name);
  if (IsFolder(Exact)) {
    Found = std::move(Exact);
    return true;
  }
  DIR* Dir = ::opendir(Folder.c_str());
  if (Dir == nullptr) {
    return false;
  }
  bool Result = false;
  while (const dirent* Entry = ::readdir(Dir)) {
    if (!SameText(Entry->d_name, Name)) {
      continue;
    }
    std::string Candidate = Folder + PathDelim + Entry->d_name;
    if (IsFolder(Candidate)) {
      Found = std::move(Candidate);
      Result = true;
      break;
    }
  }
  ::closedir(Dir);
  return Result;
}

// The folder of Key below RootKey, or false when a part of it is missing or is no key name.
bool ResolveKey(THKey RootKey, std::string_view Key, std::string& Folder) {
  if (RootKey >= RootKeyNames.size()) {
    return false;
  }
  std::string Current;
  if (!FindSubFolder(RegistryRootFolder(), RootKeyNames[RootKey], Current)) {
    return false;
  }
  size_t Start = 0;
  while (Start <= Key.size()) {
    size_t End = Key.find('\\', Start);
    if (End == std::string_view::npos) {
      End = Key.size();
    }
    const std::string_view Part = Key.substr(Start, End - Start);
    Start = End + 1;
    if (Part.empty()) {
      continue;
    }
    // Registry names may hold "/", but never as a way out of the registry's folders.
    if (Part == "." || Part == ".." || Part.find('/') != std::string_view::npos) {
      return false;
    }
    std::string Next;
    if (!FindSubFolder(Current, Part, Next)) {
      return false;
    }
    Current = std::move(Next);
  }
  Folder = std::move(Current);
  return true;
}

} // namespace

std::string RegistryRootFolder() {
  const char* Root = std::getenv(RegistryRootVariable);
  if (Root != nullptr && *Root != '\0') {
    return Root;
  }
  const char* Home = std::getenv("HOME");
  if (Home != nullptr && *Home != '\0') {
    return std::string(Home) + "/.qbt/registry";
  }
  return "/etc/qbt/registry";
}

bool TRegistry::OpenKeyReadOnly(std::string_view Key) {
  CloseKey();
  std::string Folder;
  if (!ResolveKey(RootKey, Key, Folder)) {
    return false;
  }
  FCurrentFolder = std::move(Folder);
  return true;
}

bool TRegistry::KeyExists(std::string_view Key) const {
  std::string Folder;
  return ResolveKey(RootKey, Key, Folder);
}

bool IsTestMode() {
  TRegistry Registry;
  Registry.RootKey = HKEY_LOCAL_MACHINE;
  const bool Opened = Registry.OpenKeyReadOnly(TestModeKey);
  Registry.CloseKey();
  return Opened;
}

} // namespace qbt
