// A registry root folder of one test: the registry stand-in reads it while the sandbox lives,
// and test mode is off until the test turns it on.
#pragma once

#include "platform/Registry.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace qbt::test {

class RegistrySandbox {
public:
  RegistrySandbox() {
    if (const char* Old = std::getenv(RegistryRootVariable)) {
      FPrevious = Old;
    }
    ::setenv(RegistryRootVariable, FRoot.Path().c_str(), 1);
  }
  ~RegistrySandbox() {
    if (FPrevious) {
      ::setenv(RegistryRootVariable, FPrevious->c_str(), 1);
    } else {
      ::unsetenv(RegistryRootVariable);
    }
  }
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;

  const std::filesystem::path& Root() const { return FRoot.Path(); }
  // Creates the folder of a key given as a relative path ("HKEY_LOCAL_MACHINE/Software/...").
  void CreateKey(const std::string& RelativePath) const {
    std::filesystem::create_directories(FRoot.Path() / RelativePath);
  }
  void SetTestMode(bool On) const {
    const auto Key = FRoot.Path() / "HKEY_LOCAL_MACHINE/Software/Harlune/TestMode";
    if (On) {
      std::filesystem::create_directories(Key);
    } else {
      std::filesystem::remove_all(Key);
    }
  }

private:
  TempDir FRoot;
  std::optional<std::string> FPrevious;
};

} // namespace qbt::test
