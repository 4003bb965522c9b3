#include "icon_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::uint32_t Le(const std::vector<unsigned char>& b, std::size_t at,
                 int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

}  // namespace

std::optional<std::string> FindIconFile(
    const std::string& name, const std::string& scriptDir,
    const std::vector<std::string>& resourceDirs) {
  std::vector<std::string> candidates;
  if (fs::path(name).is_absolute()) {
    candidates.push_back(name);
  } else {
    candidates.push_back(
        scriptDir.empty() ? name : (fs::path(scriptDir) / name).string());
    for (const std::string& dir : resourceDirs) {
      candidates.push_back((fs::path(dir) / name).string());
    }
  }
  for (const std::string& candidate : candidates) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) {
      return fs::path(candidate).lexically_normal().string();
    }
  }
  return std::nullopt;
}

bool LooksLikeIconFile(const std::vector<unsigned char>& bytes) {
  if (bytes.size() < 6 || Le(bytes, 0, 2) != 0 || Le(bytes, 2, 2) != 1) {
    return false;
  }
  const std::size_t count = Le(bytes, 4, 2);
  if (count == 0 || bytes.size() < 6 + 16 * count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * i;
    const std::size_t size = Le(bytes, entry + 8, 4);
    const std::size_t offset = Le(bytes, entry + 12, 4);
    if (size == 0 || offset > bytes.size() || size > bytes.size() - offset) {
      return false;
    }
  }
  return true;
}

std::optional<std::vector<unsigned char>> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}
