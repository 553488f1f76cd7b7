// The page's interface under any sequence of calls with any arguments: any
// bytes and lengths in every box, any list index, any tick value, any control.
// Checks that every text handed out is UTF-8 of the expected size, that a box
// keeps at most 29 characters, and that choices, ticks and verdicts stay in
// their ranges.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "web/PageInterface.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// Counts the characters of well-formed UTF-8; aborts on anything else.
std::size_t utf8Characters(const char* text) {
  require(text != nullptr);
  const std::string_view s(text);
  require(s.size() < 600);
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    require(lead < 0x80 || (lead >= 0xC2 && lead <= 0xEF));  // 1252 needs no more than three bytes
    require(i + length <= s.size());
    for (std::size_t k = 1; k < length; ++k) require((static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80);
    i += length;
  }
  return count;
}

const int kControls[] = {4001, 4002, 4006, 4007, 1004, 1005, 1012, 1013, 1014, 1017, 1018, 1019, 1020, 1021, 1022,
                         1202, 1203, 1204, 1205, 1206, 1207, 1209, 1300, 1302, 1303, 1304, 1305, 1306, 1307, 1308};

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  int integer() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | byte();
    return static_cast<int>(value);
  }
  // A known control mostly, any number sometimes.
  int control() {
    const std::uint8_t pick = byte();
    return pick < 240 ? kControls[pick % (sizeof kControls / sizeof kControls[0])] : integer();
  }
};

void checkEverything() {
  for (int control : kControls) {
    require(utf8Characters(bw_box_text(control)) <= 29);
    require(bw_box_changed(control) == 0 || bw_box_changed(control) == 1);
    const int count = bw_list_count(control);
    require(count == 0 || count == 3 || count == 11);
    const int choice = bw_choice(control);
    require(choice >= -1 && choice < count);
    for (int index = -1; index <= count; ++index) utf8Characters(bw_list_item(control, index));
    require(bw_ticked(control) == 0 || bw_ticked(control) == 1);
    utf8Characters(bw_results_text(control));
    utf8Characters(bw_statistics_text(control));
  }
  utf8Characters(bw_refusal());
  require(bw_verdict() == 0 || bw_verdict() == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  bw_clear();
  while (in.size > 0) {
    switch (in.byte() % 7) {
      case 0: {
        const int control = in.control();
        const int length = in.byte() < 250 ? in.byte() : in.integer();
        const std::size_t room = static_cast<std::size_t>(bw_text_buffer_size());
        const std::size_t taken = in.size < room ? in.size : room;
        std::memcpy(bw_text_buffer(), in.data, taken);
        in.data += taken / 2, in.size -= taken / 2;
        bw_set_text(control, length);
        break;
      }
      case 1: {
        const int control = in.control();
        bw_set_choice(control, in.byte() < 128 ? in.byte() % 13 - 1 : in.integer());
        break;
      }
      case 2: {
        const int control = in.control();
        bw_set_tick(control, in.byte() < 128 ? in.byte() % 3 : in.integer());
        break;
      }
      case 3: {
        const int refused = bw_calculate();
        require(refused == 0 || refused == 1);
        require((bw_refusal()[0] != '\0') == (refused == 1));
        break;
      }
      case 4:
        bw_statistics(in.byte() < 128 ? in.byte() % 2 : in.integer());
        break;
      case 5:
        bw_clear();
        break;
      default:
        checkEverything();
        break;
    }
  }
  checkEverything();
  return 0;
}
