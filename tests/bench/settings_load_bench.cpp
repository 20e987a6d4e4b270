// Load time of damaged config2.txt files dense with CR LF: prints figures, checks only that
// each file gives the defaults. Two kinds of damage: random bytes with a CR LF every four, and
// CR LF pairs laid so that no byte unscrambles to a space, which makes the reader test every
// pair (a reader that unscrambled the whole line before each pair took minutes on these).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

#include "app/encodings.h"
#include "app/settings.h"

namespace {

std::string RandomWithCrLf(std::size_t size) {
  std::mt19937 rng(1);
  std::string bytes;
  while (bytes.size() < size) {
    bytes += static_cast<char>(rng());
    bytes += static_cast<char>(rng());
    bytes += "\r\n";
  }
  return bytes.substr(0, size);
}

std::string CrLfWithoutSpaces(std::size_t size) {
  auto plain = [](char c, std::size_t i) { return modHotkeys::ScrambleAt(c, i); };
  std::string bytes;
  for (std::size_t i = 0; bytes.size() < size; i = bytes.size()) {
    if (plain('\r', i) != ' ' && plain('\n', i + 1) != ' ')
      bytes += "\r\n";
    else
      bytes += plain('x', i) != ' ' ? 'x' : 'y';
  }
  return bytes.substr(0, size);
}

// Best of three runs of what start-up does: read the whole file, then parse it.
double LoadMilliseconds(const std::filesystem::path& file, bool& defaults) {
  double best = 1e300;
  for (int run = 0; run < 3; ++run) {
    auto start = std::chrono::steady_clock::now();
    std::ifstream in(file, std::ios::binary);
    std::string bytes(std::filesystem::file_size(file), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    defaults = settings_file::Parse(bytes) == Settings{};
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

}  // namespace

int main() {
  const auto dir = std::filesystem::temp_directory_path();
  const auto file = dir / ("settings_load_bench_" + std::to_string(::getpid()) + ".txt");
  bool all_defaults = true;
  std::printf("%-22s %10s %12s\n", "damaged config2.txt", "size", "load (ms)");
  for (auto [name, make] : {std::pair{"random, CR LF", &RandomWithCrLf},
                            std::pair{"CR LF, no spaces", &CrLfWithoutSpaces}}) {
    for (std::size_t kib : {64, 256, 1024}) {
      std::ofstream(file, std::ios::binary | std::ios::trunc) << make(kib * 1024);
      bool defaults = false;
      double ms = LoadMilliseconds(file, defaults);
      std::printf("%-22s %7zu KiB %12.3f%s\n", name, kib, ms, defaults ? "" : "  NOT DEFAULTS");
      all_defaults = all_defaults && defaults;
    }
  }
  std::filesystem::remove(file);
  return all_defaults ? 0 : 1;
}
