// Text files as the system reads them: the byte-order mark picks the encoding, else the ANSI
// code page; the text ends at its first NUL and is cut into lines at CR, LF or CR LF.
#pragma once

#include <cstdint>
#include <iterator>
#include <vector>

#include "platform/Locale.h"
#include "support/Text.h"

namespace velmora {

// FF FE: UTF-16 LE, FE FF: UTF-16 BE, EF BB BF: UTF-8, anything else ANSI. An odd last byte of
// UTF-16 is ignored; malformed UTF-8 becomes U+FFFD, one per maximal ill-formed run.
Text DecodeText(const std::vector<uint8_t>& bytes, platform::ILocale& locale);

// UTF-8 without a mark, as MultiByteToWideChar(CP_UTF8) decodes it.
Text DecodeUtf8(const uint8_t* bytes, size_t size);

// The lines of a decoded text, cut on demand: a file of millions of empty lines costs no more
// memory than its text. Lines are views into the owned text.
class TextLines {
 public:
  TextLines() = default;
  // Keeps the text up to its first NUL.
  explicit TextLines(Text text);

  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = TextView;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = TextView;

    iterator() = default;
    TextView operator*() const { return TextView(text_->data() + start_, end_ - start_); }
    iterator& operator++();
    iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const iterator& other) const { return start_ == other.start_; }

   private:
    friend class TextLines;
    iterator(const Text* text, size_t start);
    void FindEnd();

    const Text* text_ = nullptr;
    size_t start_ = 0;  // the text's size marks the end
    size_t end_ = 0;
  };

  iterator begin() const { return iterator(&text_, 0); }
  iterator end() const { return iterator(&text_, text_.size()); }
  bool empty() const { return text_.empty(); }
  std::vector<Text> ToVector() const;
  // Every line followed by `separator`.
  Text Joined(TextView separator) const;

 private:
  Text text_;
};

}  // namespace velmora
