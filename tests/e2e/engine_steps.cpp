// Prints what the engine gives for a sequence of presses of "Translate !"
// from process start, one line of hex bytes per press, so the end-to-end runs
// can compare the window's text with the engine's.
// Usage: engine-steps MODES:HEXTEXT ...   (MODES: r for Rand, h for Hard)
#include <cstdio>
#include <cstring>
#include <string>

#include "translate.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* colon = std::strchr(argv[i], ':');
    if (!colon) {
      std::fprintf(stderr, "engine-steps: expected MODES:HEXTEXT\n");
      return 2;
    }
    const std::string modes(argv[i], static_cast<std::size_t>(colon - argv[i]));
    std::string text;
    for (const char* p = colon + 1; p[0] && p[1]; p += 2) {
      unsigned value = 0;
      std::sscanf(p, "%2x", &value);
      text.push_back(static_cast<char>(value));
    }
    TranslateText(text.data(), text.size(),
                  modes.find('r') != std::string::npos,
                  modes.find('h') != std::string::npos);
    for (char c : text) std::printf("%02x", static_cast<unsigned char>(c));
    std::printf("\n");
  }
  return 0;
}
