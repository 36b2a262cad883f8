// A stand-in for the operating system's registry: every key is a folder below one registry root
// folder, so "\Software\Harlune\TestMode" under HKEY_LOCAL_MACHINE is the folder
// <root>/HKEY_LOCAL_MACHINE/Software/Harlune/TestMode. Key names ignore ASCII case, as the
// registry's do. Values are not kept: the system only asks whether keys exist.
#pragma once

#include <string>
#include <string_view>

namespace qbt {

enum THKey : unsigned char { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS };

// The environment variable that names the registry root folder.
inline constexpr const char* RegistryRootVariable = "QBT_REGISTRY_ROOT";

// The registry root folder: the variable's value, or "$HOME/.qbt/registry" when it is unset or
// empty ("/etc/qbt/registry" without a home folder). Read at every call.
std::string RegistryRootFolder();

class TRegistry {
public:
  THKey RootKey = HKEY_CURRENT_USER;

  // Opens an existing key for reading; never creates one. False when the key does not exist.
  bool OpenKeyReadOnly(std::string_view Key);
  void CloseKey() { FCurrentFolder.clear(); }
  bool KeyExists(std::string_view Key) const;
  // The folder of the open key, empty when none is open.
  const std::string& CurrentFolder() const { return FCurrentFolder; }

private:
  std::string FCurrentFolder;
};

// The registry key whose presence turns the host's test mode on.
inline constexpr const char* TestModeKey = "\\Software\\Harlune\\TestMode";

// True when TestModeKey exists under HKEY_LOCAL_MACHINE, asked anew at every call; a key that
// cannot be opened counts as absent.
bool IsTestMode();

} // namespace qbt
