// zorkel-make-icon: turns the icon's text grid into the .ico file the
// resource script embeds, and optionally into PNG pictures.
//
//   zorkel-make-icon GRID.txt -o OUT.ico [--png SIZE OUT.png]...
//
// --png writes the picture SIZE pixels square (nearest neighbour, see
// ScaleGrid), e.g. 32, 64 or 48. Files are written under a temporary name
// and renamed, so a failed run leaves none behind.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "ico_writer.h"
#include "icon_grid.h"
#include "png_writer.h"

namespace {

const char kUsage[] =
    "usage: zorkel-make-icon GRID.txt -o OUT.ico [--png SIZE OUT.png]...\n";

struct PngRequest {
  int size;
  std::string path;
};

bool WriteFile(const std::string& path,
               const std::vector<unsigned char>& bytes) {
  const std::string temp = path + ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

int Usage(const std::string& problem) {
  std::cerr << "zorkel-make-icon: " << problem << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string gridPath;
  std::string icoPath;
  std::vector<PngRequest> pngs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-o" && i + 1 < argc) {
      icoPath = argv[++i];
    } else if (arg == "--png" && i + 2 < argc) {
      const std::string size = argv[++i];
      const std::string path = argv[++i];
      int value = 0;
      for (const char c : size) {
        if (c < '0' || c > '9' || value > kMaxIconSide * 16) {
          return Usage("bad --png size '" + size + "'");
        }
        value = value * 10 + (c - '0');
      }
      if (size.empty() || value < 1 || value > kMaxIconSide * 16) {
        return Usage("bad --png size '" + size + "'");
      }
      pngs.push_back({value, path});
    } else if (!arg.empty() && arg[0] != '-' && gridPath.empty()) {
      gridPath = arg;
    } else {
      return Usage("unexpected argument '" + arg + "'");
    }
  }
  if (gridPath.empty() || icoPath.empty()) return Usage("missing arguments");

  std::ifstream in(gridPath, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)),
                         std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    std::cerr << "zorkel-make-icon: cannot read '" << gridPath << "'\n";
    return 1;
  }
  IconGrid grid;
  std::string error;
  if (!ParseIconGrid(text, grid, error)) {
    std::cerr << gridPath << ": " << error << "\n";
    return 1;
  }

  if (!WriteFile(icoPath, EncodeIco(grid))) {
    std::cerr << "zorkel-make-icon: cannot write '" << icoPath << "'\n";
    return 1;
  }
  for (const PngRequest& png : pngs) {
    const IconGrid scaled = ScaleGrid(grid, png.size, png.size);
    if (!WriteFile(png.path, EncodePng(scaled.width, scaled.height,
                                       GridToRgba(scaled)))) {
      std::cerr << "zorkel-make-icon: cannot write '" << png.path << "'\n";
      return 1;
    }
  }
  return 0;
}
