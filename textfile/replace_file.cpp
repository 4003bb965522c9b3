// Replacing a file through a flushed temporary file and rename.
#include "replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path names once symbolic links are followed; a dangling link
// names the file it would create.
std::string FollowLinks(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string link(static_cast<std::size_t>(st.st_size) + 1, '\0');
    const ssize_t n = readlink(path.c_str(), link.data(), link.size());
    if (n < 0) return path;
    link.resize(static_cast<std::size_t>(n));
    path = link[0] == '/' ? link : DirectoryOf(path) + "/" + link;
  }
  return path;  // a loop: the open that follows reports it
}

bool WriteAll(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t n = write(fd, data, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      // No byte taken and no reason given: asking again could go on for
      // ever. A file system that takes nothing more is full.
      errno = ENOSPC;
      return false;
    }
    data += n;
    length -= static_cast<std::size_t>(n);
  }
  return true;
}

// A flush interrupted by a signal is asked for again.
int Flush(int fd) {
  int result;
  do {
    result = fsync(fd);
  } while (result != 0 && errno == EINTR);
  return result;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

ReplaceOutcome Fail(const std::string& target, const std::string& temporary,
                    int error) {
  if (!temporary.empty()) unlink(temporary.c_str());
  return ReplaceOutcome{ReplaceResult::Failed, error, target};
}

}  // namespace

ReplaceOutcome ReplaceFileContents(const std::string& path, const char* data,
                                   std::size_t length) {
  const std::string target = FollowLinks(path);
  struct stat old;
  const bool exists = stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return Fail(target, "", errno);
  if (exists && (!S_ISREG(old.st_mode) || old.st_nlink > 1))
    return ReplaceOutcome{ReplaceResult::WriteInPlace, 0, target};

  std::string temporary =
      DirectoryOf(target) + "/." + NameOf(target) + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    // A folder we may not write in, holding a file we may: in place is the
    // only way left, as with any editor.
    if (exists && (error == EACCES || error == EPERM))
      return ReplaceOutcome{ReplaceResult::WriteInPlace, 0, target};
    return Fail(target, "", error);
  }

  const mode_t mode = exists ? (old.st_mode & 07777) : NewFileMode();
  bool ok = fchmod(fd, mode) == 0;
  if (ok && exists) {
    // Keeping the owner needs privileges; without them the file is ours.
    if (fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
  }
  ok = ok && WriteAll(fd, data, length) && Flush(fd) == 0;
  const int error = ok ? 0 : errno;
  // An interrupted close has still released the descriptor (Linux), and the
  // bytes are on disk already: only another error means they may not be.
  if (close(fd) != 0 && errno != EINTR && ok)
    return Fail(target, temporary, errno);
  if (!ok) return Fail(target, temporary, error);

  if (rename(temporary.c_str(), target.c_str()) != 0) {
    const int renameError = errno;
    unlink(temporary.c_str());
    if (renameError == EBUSY)
      return ReplaceOutcome{ReplaceResult::WriteInPlace, 0, target};
    return ReplaceOutcome{ReplaceResult::Failed, renameError, target};
  }
  // Make the rename itself durable; the data already is.
  const int directory =
      open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    fsync(directory);
    close(directory);
  }
  return ReplaceOutcome{ReplaceResult::Replaced, 0, target};
}
