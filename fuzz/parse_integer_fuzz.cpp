// parseIntegerText against glibc's strtoll, taken to the signed 32-bit range
// by saturation: the same value for any text.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const long long wide = std::strtoll(text.c_str(), nullptr, 10);
  const std::int32_t reference = wide > INT32_MAX ? INT32_MAX : (wide < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(wide));
  if (parseIntegerText(text.c_str()) != reference) std::abort();
  return 0;
}
