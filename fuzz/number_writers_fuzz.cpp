// The number writers against the C library, byte for byte: any double's
// eight bytes against snprintf("%.6f"), any 32-bit integer against "%d",
// into a room of any size from 0 to 64 characters (the text, or nothing
// where it does not fit).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/NumberText.h"

namespace {

void check(const char* reference, std::size_t room, char* (*write)(char*, char*)) {
  char written[80];
  char* end = write(written, written + room);
  const std::size_t length = std::strlen(reference);
  if (length > room) {
    if (end != nullptr) std::abort();
    return;
  }
  if (end == nullptr || static_cast<std::size_t>(end - written) != length) std::abort();
  if (std::memcmp(written, reference, length) != 0) std::abort();
}

double theValue;
std::int32_t theInteger;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 9) return 0;
  const std::size_t room = data[0] % 65;
  std::memcpy(&theValue, data + 1, sizeof theValue);
  std::memcpy(&theInteger, data + 1, sizeof theInteger);
  char reference[400];
  std::snprintf(reference, sizeof reference, "%.6f", theValue);
  const bool finite = std::strchr(reference, 'n') == nullptr;  // inf, nan
  if (finite) {
    check(reference, room, [](char* first, char* last) {
      return number_text_detail::writeFixed6Chars(first, last, theValue);
    });
  } else if (number_text_detail::writeFixed6Chars(reference, reference + sizeof reference, theValue) != nullptr) {
    std::abort();
  }
  std::snprintf(reference, sizeof reference, "%d", static_cast<int>(theInteger));
  check(reference, room, [](char* first, char* last) {
    return number_text_detail::writeIntegerChars(first, last, theInteger);
  });
  return 0;
}
