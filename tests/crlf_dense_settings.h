#pragma once
// A damaged config2.txt dense with CR LF pairs, laid so that no byte unscrambles to a space:
// the reader must test every pair for the real line break. The settings load benchmark times
// it; the settings fuzz target starts from one made at build time (tests/fuzz/make_seeds.cpp).
#include <string>

#include "text/encodings.h"

inline std::string CrLfWithoutSpaces(std::size_t size) {
  auto plain = [](char c, std::size_t i) { return encodings::ScrambleAt(c, i); };
  std::string bytes;
  for (std::size_t i = 0; i < size; i = bytes.size()) {
    if (plain('\r', i) != ' ' && plain('\n', i + 1) != ' ') bytes += "\r\n";
    else bytes += plain('x', i) != ' ' ? 'x' : 'y';
  }
  return bytes.substr(0, size);
}
