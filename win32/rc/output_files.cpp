#include "output_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

std::string Escaped(const std::string& path) {
  std::string out;
  for (const char c : path) {
    if (c == ' ' || c == '#' || c == '\\') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

std::string Absolute(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

}  // namespace

std::string WriteFileAtomically(const std::string& path,
                                const std::string& content) {
  const std::string temp = path + ".tmp" + std::to_string(getpid());
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) return "cannot write '" + path + "': " + std::strerror(errno);
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const std::string error = std::strerror(errno);
      close(fd);
      unlink(temp.c_str());
      return "cannot write '" + path + "': " + error;
    }
    done += static_cast<std::size_t>(n);
  }
  if (close(fd) != 0 || std::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string error = std::strerror(errno);
    unlink(temp.c_str());
    return "cannot write '" + path + "': " + error;
  }
  return "";
}

std::string DepfileText(const std::string& target,
                        const std::vector<std::string>& dependencies) {
  std::string text = Escaped(Absolute(target)) + ":";
  for (const std::string& dependency : dependencies) {
    text += " \\\n  " + Escaped(Absolute(dependency));
  }
  return text + "\n";
}
