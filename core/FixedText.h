#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>

// A zero-terminated single-byte text inside a buffer of fixed width. Every
// copy and append stops at the buffer's last byte, which always stays the
// terminator, so nothing is ever written beyond it. A text of width N holds at
// most N - 1 characters.
template <std::size_t Width>
class FixedText {
  static_assert(Width >= 1, "a text needs room for its terminator");

 public:
  static constexpr std::size_t kWidth = Width;
  static constexpr std::size_t kMaxLength = Width - 1;

  // Replaces the text with `text`; returns false when it had to be cut.
  bool assign(std::string_view text) {
    clear();
    return append(text);
  }

  // Adds `text` at the end; returns false when it had to be cut.
  bool append(std::string_view text) {
    std::size_t at = length();
    std::size_t room = kMaxLength - at;
    std::size_t count = text.size() < room ? text.size() : room;
    for (std::size_t i = 0; i < count; ++i) buffer_[at + i] = text[i];
    buffer_[at + count] = '\0';
    const bool whole = count == text.size();
    cut_ = cut_ || !whole;
    return whole;
  }

  // Replaces the text with the pieces one after another, with nothing between
  // them; returns false when it had to be cut.
  bool assign(std::initializer_list<std::string_view> pieces) {
    std::size_t at = 0;
    bool whole = true;
    for (std::string_view piece : pieces) {
      const std::size_t room = kMaxLength - at;
      const std::size_t count = piece.size() < room ? piece.size() : room;
      for (std::size_t i = 0; i < count; ++i) buffer_[at + i] = piece[i];
      at += count;
      whole = whole && count == piece.size();
    }
    buffer_[at] = '\0';
    cut_ = !whole;
    return whole;
  }

  // Case-sensitive substring test; an empty needle is contained in every text.
  bool contains(std::string_view needle) const {
    return view().find(needle) != std::string_view::npos;
  }

  void clear() {
    buffer_[0] = '\0';
    cut_ = false;
  }
  // True when something was cut from the text since it was last replaced.
  bool wasCut() const { return cut_; }
  bool empty() const { return buffer_[0] == '\0'; }
  std::size_t length() const {
    std::size_t n = 0;
    while (n < kMaxLength && buffer_[n] != '\0') ++n;
    return n;
  }
  const char* c_str() const { return buffer_; }
  std::string_view view() const { return std::string_view(buffer_, length()); }

  // Raw access for platform calls that fill at most kWidth bytes; call
  // terminate() afterwards so the text ends inside the buffer whatever they did.
  char* data() { return buffer_; }
  void terminate() { buffer_[kMaxLength] = '\0'; }

 private:
  char buffer_[Width] = {};
  bool cut_ = false;
};

// Copies the first piece and appends the others with nothing between them.
// Returns false when the composition had to be cut.
template <std::size_t Width>
bool compose(FixedText<Width>& out, std::initializer_list<std::string_view> pieces) {
  return out.assign(pieces);
}
