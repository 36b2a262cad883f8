// A lock on a file held by another process for the lifetime of this object: a child process
// takes it, says so through a pipe, and lets go when the pipe closes.
#pragma once

#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qbt::test {

enum class LockStyle { Record, WholeFile };

class ForeignLock {
public:
  ForeignLock(const std::string& FileName, LockStyle Style) {
    int Ready[2];
    int Release[2];
    if (::pipe(Ready) != 0 || ::pipe(Release) != 0) {
      throw std::runtime_error("pipe failed");
    }
    FChild = ::fork();
    if (FChild < 0) {
      throw std::runtime_error("fork failed");
    }
    if (FChild == 0) {
      ::close(Ready[0]);
      ::close(Release[1]);
      const int Fd = ::open(FileName.c_str(), O_RDWR);
      bool Locked = false;
      if (Fd >= 0 && Style == LockStyle::Record) {
        struct flock L {};
        L.l_type = F_WRLCK;
        L.l_whence = SEEK_SET;
        Locked = ::fcntl(Fd, F_SETLK, &L) == 0;
      } else if (Fd >= 0) {
        Locked = ::flock(Fd, LOCK_EX | LOCK_NB) == 0;
      }
      const char Answer = Locked ? 'L' : 'F';
      (void)!::write(Ready[1], &Answer, 1);
      char Byte;
      while (::read(Release[0], &Byte, 1) > 0) {
      }
      ::_exit(0);
    }
    ::close(Ready[1]);
    ::close(Release[0]);
    FRelease = Release[1];
    char Answer = 'F';
    (void)!::read(Ready[0], &Answer, 1);
    ::close(Ready[0]);
    if (Answer != 'L') {
      Stop();
      throw std::runtime_error("the child could not lock " + FileName);
    }
  }
  ~ForeignLock() { Stop(); }
  ForeignLock(const ForeignLock&) = delete;
  ForeignLock& operator=(const ForeignLock&) = delete;

private:
  void Stop() {
    if (FRelease >= 0) {
      ::close(FRelease);
      FRelease = -1;
    }
    if (FChild > 0) {
      int Status = 0;
      ::waitpid(FChild, &Status, 0);
      FChild = -1;
    }
  }

  pid_t FChild = -1;
  int FRelease = -1;
};

} // namespace qbt::test
