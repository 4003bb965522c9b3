// Finding and checking the .ico file an ICON statement names. The check is
// structural (header, directory, every image inside the file); the images
// themselves are decoded by the layer at run time, not here.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The first existing file among `name` relative to `scriptDir`, then to each
// of `resourceDirs` (an absolute name is used as it is); nullopt if none.
std::optional<std::string> FindIconFile(
    const std::string& name, const std::string& scriptDir,
    const std::vector<std::string>& resourceDirs);

// Whether `bytes` hold an icon file: reserved 0, type 1, at least one image,
// and each directory entry's image lies inside the file.
bool LooksLikeIconFile(const std::vector<unsigned char>& bytes);

// The bytes of `path`, or nullopt when it cannot be read.
std::optional<std::vector<unsigned char>> ReadBytes(const std::string& path);
