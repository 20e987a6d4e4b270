// Writes the fuzz seeds too large to keep in the repository into the directory given:
// settings_fuzz/crlf-dense, a 256 KiB config2.txt dense with CR LF pairs.
#include <filesystem>
#include <fstream>

#include "tests/crlf_dense_settings.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path dir = std::filesystem::path(argv[1]) / "settings_fuzz";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "crlf-dense", std::ios::binary | std::ios::trunc) << CrLfWithoutSpaces(256 * 1024);
  return 0;
}
