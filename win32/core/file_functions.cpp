// The KERNEL32 file functions on POSIX descriptors: an HFILE is the
// descriptor itself.
#include <windows.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "last_error.h"

namespace {

constexpr int kAccessMask = 0x0003;
constexpr int kShareMask = 0x0070;

// ENOENT names no culprit; Windows tells a missing file (its folder exists)
// from a missing folder on the way.
DWORD MissingCode(const char* path) {
  std::string_view name = path;
  while (name.size() > 1 && name.back() == '/') name.remove_suffix(1);
  const std::string_view::size_type slash = name.rfind('/');
  const std::string parent =
      slash == std::string_view::npos
          ? std::string(".")
          : std::string(name.substr(0, slash == 0 ? 1 : slash));
  struct stat status;
  const bool folderExists =
      stat(parent.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
  return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

// A read or write refused with EBADF on an open descriptor: the handle lacks
// that access, which Windows reports as ERROR_ACCESS_DENIED.
void SetLastErrorFromTransfer(int error, int fd) {
  const bool open = error == EBADF && fcntl(fd, F_GETFD) != -1;
  SetLastErrorFromErrno(error,
                        open ? ERROR_ACCESS_DENIED : ErrorCodeForErrno(error));
}

// Opens without ever waiting: O_NONBLOCK lets a FIFO open at once; a
// regular file then loses it again. A directory is refused with EISDIR, as
// Windows refuses to open a folder as a file.
HFILE OpenDescriptor(LPCSTR path, int flags, mode_t mode) {
  if (path == nullptr) {
    SetLastErrorFromLayer(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  int fd;
  do {
    fd = open(path, flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    const int error = errno;
    SetLastErrorFromErrno(
        error, error == ENOENT ? MissingCode(path) : ErrorCodeForErrno(error));
    return HFILE_ERROR;
  }
  struct stat status;
  int error = 0;
  if (fstat(fd, &status) != 0) {
    error = errno;
  } else if (S_ISDIR(status.st_mode)) {
    error = EISDIR;
  } else if (S_ISREG(status.st_mode)) {
    const int current = fcntl(fd, F_GETFL);
    if (current == -1 || fcntl(fd, F_SETFL, current & ~O_NONBLOCK) == -1)
      error = errno;
  }
  if (error != 0) {
    close(fd);
    SetLastErrorFromErrno(error);
    return HFILE_ERROR;
  }
  return fd;
}

// Holds SIGPIPE back from the calling thread while it writes, so that a
// write to a pipe nobody reads fails with EPIPE, as on Windows, instead of
// ending the program. A SIGPIPE that was pending before is left alone.
class SigpipeHeldBack {
 public:
  SigpipeHeldBack() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    pendingBefore_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &saved_);
  }
  ~SigpipeHeldBack() {
    sigset_t pending;
    if (!pendingBefore_ && sigpending(&pending) == 0 &&
        sigismember(&pending, SIGPIPE) == 1) {
      const timespec now{};
      while (sigtimedwait(&pipe_, nullptr, &now) == -1 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
  }
  SigpipeHeldBack(const SigpipeHeldBack&) = delete;
  SigpipeHeldBack& operator=(const SigpipeHeldBack&) = delete;

 private:
  sigset_t pipe_;
  sigset_t saved_;
  bool pendingBefore_ = false;
};

// _lwrite of no bytes: the file ends at the current position. Only a
// regular file has an end to move; on a pipe or device it does nothing.
UINT TruncateHere(int fd) {
  struct stat status;
  if (fstat(fd, &status) != 0) {
    SetLastErrorFromErrno(errno);
    return static_cast<UINT>(HFILE_ERROR);
  }
  if (!S_ISREG(status.st_mode)) return 0;
  const int flags = fcntl(fd, F_GETFL);
  if (flags != -1 && (flags & O_ACCMODE) == O_RDONLY) {
    // ftruncate says EINVAL here; report it as a write would.
    SetLastErrorFromErrno(EBADF, ERROR_ACCESS_DENIED);
    return static_cast<UINT>(HFILE_ERROR);
  }
  const off_t here = lseek(fd, 0, SEEK_CUR);
  int result;
  do {
    result = here < 0 ? -1 : ftruncate(fd, here);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    SetLastErrorFromErrno(errno);
    return static_cast<UINT>(HFILE_ERROR);
  }
  return 0;
}

}  // namespace

HFILE WINAPI _lopen(LPCSTR lpPathName, int iReadWrite) {
  int access;
  switch (iReadWrite & kAccessMask) {
    case OF_READ:
      access = O_RDONLY;
      break;
    case OF_WRITE:
      access = O_WRONLY;
      break;
    case OF_READWRITE:
      access = O_RDWR;
      break;
    default:
      access = -1;
      break;
  }
  if (access == -1 || (iReadWrite & ~(kAccessMask | kShareMask)) != 0) {
    SetLastErrorFromLayer(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  // Sharing modes have no POSIX counterpart: they are accepted and ignored.
  return OpenDescriptor(lpPathName, access, 0);
}

HFILE WINAPI _lcreat(LPCSTR lpPathName, int iAttribute) {
  // 1 read-only, 2 hidden, 4 system; only read-only means anything here.
  if ((iAttribute & ~0x7) != 0) {
    SetLastErrorFromLayer(ERROR_INVALID_PARAMETER);
    return HFILE_ERROR;
  }
  const mode_t mode = (iAttribute & 0x1) != 0 ? 0444 : 0666;
  return OpenDescriptor(lpPathName, O_RDWR | O_CREAT | O_TRUNC, mode);
}

LONG WINAPI _llseek(HFILE hFile, LONG lOffset, int iOrigin) {
  int whence;
  switch (iOrigin) {
    case FILE_BEGIN:
      whence = SEEK_SET;
      break;
    case FILE_CURRENT:
      whence = SEEK_CUR;
      break;
    case FILE_END:
      whence = SEEK_END;
      break;
    default:
      SetLastErrorFromLayer(ERROR_INVALID_PARAMETER);
      return HFILE_ERROR;
  }
  const off_t before = lseek(hFile, 0, SEEK_CUR);
  if (before < 0) {
    SetLastErrorFromErrno(errno);
    return HFILE_ERROR;
  }
  const off_t after = lseek(hFile, lOffset, whence);
  if (after < 0) {
    // With a valid origin, EINVAL means a position before the start.
    const int error = errno;
    SetLastErrorFromErrno(error, error == EINVAL ? ERROR_NEGATIVE_SEEK
                                                 : ErrorCodeForErrno(error));
    return HFILE_ERROR;
  }
  if (after > INT32_MAX) {
    // The position does not fit the result: stay where the file was.
    lseek(hFile, before, SEEK_SET);
    SetLastErrorFromLayer(ERROR_FILE_TOO_LARGE);
    return HFILE_ERROR;
  }
  return static_cast<LONG>(after);
}

// Reads until uBytes or the end of the file. A descriptor with nothing to
// read that would have to wait for it (a FIFO, which _lopen leaves
// non-blocking) fails with ERROR_NO_DATA, or, after some bytes, ends the
// read there.
UINT WINAPI _lread(HFILE hFile, LPVOID lpBuffer, UINT uBytes) {
  char* const out = static_cast<char*>(lpBuffer);
  UINT done = 0;
  while (done < uBytes) {
    const ssize_t got = read(hFile, out + done, uBytes - done);
    if (got > 0) {
      done += static_cast<UINT>(got);
      continue;
    }
    if (got == 0) break;
    const int error = errno;
    if (error == EINTR) continue;
    if ((error == EAGAIN || error == EWOULDBLOCK) && done > 0) break;
    SetLastErrorFromTransfer(error, hFile);
    return static_cast<UINT>(HFILE_ERROR);
  }
  return done;
}

UINT WINAPI _lwrite(HFILE hFile, LPCCH lpBuffer, UINT uBytes) {
  if (uBytes == 0) return TruncateHere(hFile);
  const SigpipeHeldBack held;
  UINT done = 0;
  while (done < uBytes) {
    const ssize_t put = write(hFile, lpBuffer + done, uBytes - done);
    if (put > 0) {
      done += static_cast<UINT>(put);
      continue;
    }
    // Nothing taken and no reason given: asking again could go on for ever.
    // A file system that takes nothing more is full.
    const int error = put == 0 ? ENOSPC : errno;
    if (error == EINTR) continue;
    SetLastErrorFromTransfer(error, hFile);
    return static_cast<UINT>(HFILE_ERROR);
  }
  return uBytes;
}

// An interrupted close has still released the descriptor (Linux): closing
// again could close another file, so EINTR counts as closed.
HFILE WINAPI _lclose(HFILE hFile) {
  if (close(hFile) == 0 || errno == EINTR) return 0;
  SetLastErrorFromErrno(errno);
  return HFILE_ERROR;
}

// The inverse of (HANDLE)(INT_PTR)hfile: the handle's value is the
// descriptor, 0 included.
DWORD WINAPI GetFileType(HANDLE hFile) {
  const INT_PTR value = reinterpret_cast<INT_PTR>(hFile);
  if (value < 0 || value > INT_MAX) {
    SetLastErrorFromLayer(ERROR_INVALID_HANDLE);
    return FILE_TYPE_UNKNOWN;
  }
  struct stat status;
  if (fstat(static_cast<int>(value), &status) != 0) {
    SetLastErrorFromErrno(errno);
    return FILE_TYPE_UNKNOWN;
  }
  if (S_ISREG(status.st_mode) || S_ISBLK(status.st_mode)) return FILE_TYPE_DISK;
  if (S_ISCHR(status.st_mode)) return FILE_TYPE_CHAR;
  if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode))
    return FILE_TYPE_PIPE;
  // Known but of no Windows kind (a directory): success, says NO_ERROR.
  SetLastError(NO_ERROR);
  return FILE_TYPE_UNKNOWN;
}
