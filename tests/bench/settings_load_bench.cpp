// Load time of damaged config2.txt files dense with CR LF: prints figures, checks only that
// each file gives the defaults. Random bytes with a CR LF every four, and CR LF pairs laid so
// that no byte unscrambles to a space, which makes the reader test every pair (a reader that
// unscrambled the whole line again at each pair took minutes on these).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/settings.h"
#include "tests/crlf_dense_settings.h"

namespace {

std::string RandomWithCrLf(std::size_t size) {
  std::mt19937 rng(1);
  std::string bytes;
  while (bytes.size() < size) bytes += {static_cast<char>(rng()), static_cast<char>(rng()), '\r', '\n'};
  return bytes.substr(0, size);
}

}  // namespace

int main() {
  const auto file = std::filesystem::temp_directory_path() /
                    ("settings_load_bench_" + std::to_string(::getpid()) + ".txt");
  bool all_defaults = true;
  std::printf("%-18s %9s %10s\n", "damaged file", "size", "load (ms)");
  for (auto [name, make] : {std::pair{"random, CR LF", &RandomWithCrLf},
                            std::pair{"CR LF, no spaces", &CrLfWithoutSpaces}}) {
    for (std::size_t kib : {64, 256, 1024}) {
      std::ofstream(file, std::ios::binary | std::ios::trunc) << make(kib * 1024);
      double best = 1e300;  // of three loads as start-up does them: read the file, parse it
      for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        std::string bytes(std::filesystem::file_size(file), '\0');
        std::ifstream(file, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        all_defaults = settings_file::Parse(bytes) == Settings{} && all_defaults;
        best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      }
      std::printf("%-18s %5zu KiB %10.3f\n", name, kib, best);
    }
  }
  std::filesystem::remove(file);
  if (!all_defaults) std::printf("FAILED: a damaged file did not give the defaults\n");
  return all_defaults ? 0 : 1;
}
