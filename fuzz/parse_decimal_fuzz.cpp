// parseDecimalText against glibc's strtod, which rounds correctly: the same
// value for any text, and the same answer every time.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = parseDecimalText(text.c_str());
  const double again = parseDecimalText(text.c_str());
  const double reference = std::strtod(text.c_str(), nullptr);
  if (std::isnan(reference)) {
    if (!std::isnan(value) || !std::isnan(again)) std::abort();
    return 0;
  }
  if (std::memcmp(&value, &reference, sizeof value) != 0) std::abort();
  if (std::memcmp(&value, &again, sizeof value) != 0) std::abort();
  return 0;
}
