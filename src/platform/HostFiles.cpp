#include "platform/HostFiles.h"

#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qbt {

bool HostFileExists(const std::string& FileName) {
  return FileExists(FileName);
}

void HostSplitFileName(const std::string& FileName, std::string& Folder, std::string& Name) {
  Folder = ExtractFilePath(FileName);
  Name = ExtractFileName(FileName);
}

bool HostIsFileInUse(const std::string& FileName) {
  const int Fd = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) {
    return false;
  }
  bool InUse = false;
  // Record locks of other processes; this process's own are not reported, as they should not be.
  struct flock Probe {};
  Probe.l_type = F_WRLCK;
  Probe.l_whence = SEEK_SET;
  Probe.l_start = 0;
  Probe.l_len = 0;
  if (::fcntl(Fd, F_GETLK, &Probe) == 0 && Probe.l_type != F_UNLCK) {
    InUse = true;
  }
  // Whole-file locks: taking one at once, and letting it go, shows that nobody holds one.
  if (!InUse) {
    if (::flock(Fd, LOCK_EX | LOCK_NB) == 0) {
      ::flock(Fd, LOCK_UN);
    } else if (errno == EWOULDBLOCK) {
      InUse = true;
    }
  }
  ::close(Fd);
  return InUse;
}

void ShowFileInUseNotice(const std::string& FileName) {
  ShowWarningBox(
      Format("The file %s is in use by another user or computer and was not replaced.", {FileName}),
      "File In Use");
}

std::string HostCreateTempFile(const std::string& Folder, std::string_view Prefix) {
  std::string Pattern = Folder;
  if (!Pattern.empty() && Pattern.back() != PathDelim) {
    Pattern += PathDelim;
  }
  Pattern.append(Prefix);
  Pattern += "XXXXXX";
  const int Fd = ::mkstemp(Pattern.data());
  if (Fd < 0) {
    const int Error = errno;
    throw Exception(Format("Cannot create a temporary file in \"%s\". %s",
                           {Folder.empty() ? std::string(".") : Folder, SysErrorMessage(Error)}));
  }
  // mkstemp makes the file private; the file it becomes should carry the user's usual rights.
  const mode_t Mask = ::umask(0);
  ::umask(Mask);
  ::fchmod(Fd, 0666 & ~Mask);
  ::close(Fd);
  return Pattern;
}

bool HostReplaceFile(const std::string& Source, const std::string& Target) {
  return std::rename(Source.c_str(), Target.c_str()) == 0;
}

std::string HostTemplatesFolder() {
  return ExtractFilePath(GetModuleFileName()) + "Templates" + PathDelim;
}

} // namespace qbt
