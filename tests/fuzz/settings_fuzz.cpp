// Any bytes as config2.txt: reading never fails, and what was read is written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Settings loaded = settings_file::Parse(bytes);
  if (!settings_file::FieldThatCannotBeStored(loaded) &&
      !(settings_file::Parse(settings_file::Format(loaded)) == loaded))
    std::abort();
  return 0;
}
