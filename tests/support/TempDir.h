// A scratch folder of one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qbt::test {

class TempDir {
public:
  TempDir() {
    std::string Pattern = (std::filesystem::temp_directory_path() / "qbt-test-XXXXXX").string();
    if (::mkdtemp(Pattern.data()) == nullptr) {
      throw std::runtime_error("mkdtemp failed");
    }
    FPath = Pattern;
  }
  ~TempDir() {
    std::error_code Ec;
    // Read-only files and folders made by a test must not stop the clean-up.
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, Ec);
    std::filesystem::remove_all(FPath, Ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::string File(const std::string& Name) const { return (FPath / Name).string(); }

private:
  std::filesystem::path FPath;
};

inline std::string ReadBytes(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& FileName, const std::string& Bytes) {
  std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
  Out << Bytes;
}

} // namespace qbt::test
