// ApiHotkey's specified interface that the program itself does not call: a combination read back from a global atom.
#include <windows.h>

#include "hotkeys/ApiHotkey.h"

namespace {
ATOM AsAtom(std::int32_t value) { return static_cast<ATOM>(value & 0xFFFF); }
}  // namespace

void ApiHotkey::ReadFromAtom(std::int32_t atom) {
  char name[256] = {};
  UINT n = ::GlobalGetAtomNameA(AsAtom(atom), name, 255);
  if (n == 0) return;  // no such atom: the combination stays as it is
  ApplyAtomName(std::string_view(name, n));
}
