#include "request/TextDecoding.h"

namespace velmora {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

Text DecodeUtf16(const uint8_t* bytes, size_t size, bool bigEndian) {
  Text out(size / 2, u'\0');  // an odd last byte is dropped
  char16_t* to = out.data();
  const uint8_t* end = bytes + out.size() * 2;
  for (const uint8_t* from = bytes; from != end; from += 2) {
    *to++ = bigEndian ? static_cast<char16_t>(from[0] << 8 | from[1])
                      : static_cast<char16_t>(from[1] << 8 | from[0]);
  }
  return out;
}

bool StartsWithBytes(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> mark) {
  if (bytes.size() < mark.size()) return false;
  size_t i = 0;
  for (uint8_t b : mark)
    if (bytes[i++] != b) return false;
  return true;
}

}  // namespace

Text DecodeUtf8(const uint8_t* bytes, size_t size) {
  Text out;
  out.reserve(size);
  size_t i = 0;
  while (i < size) {
    uint8_t b = bytes[i];
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    // Length and the allowed range of the second byte (excludes overlongs and surrogates).
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    }
    if (length == 0) {
      out += kReplacement;
      ++i;
      continue;
    }
    uint32_t code = b & (0x7F >> length);
    size_t k = 1;
    for (; k < length && i + k < size; ++k) {
      uint8_t next = bytes[i + k];
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) break;
      code = code << 6 | (next & 0x3F);
    }
    if (k < length) {  // the valid part so far is one ill-formed run
      out += kReplacement;
      i += k;
      continue;
    }
    i += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

Text DecodeText(const std::vector<uint8_t>& bytes, platform::ILocale& locale) {
  if (StartsWithBytes(bytes, {0xFF, 0xFE}))
    return DecodeUtf16(bytes.data() + 2, bytes.size() - 2, false);
  if (StartsWithBytes(bytes, {0xFE, 0xFF}))
    return DecodeUtf16(bytes.data() + 2, bytes.size() - 2, true);
  if (StartsWithBytes(bytes, {0xEF, 0xBB, 0xBF}))
    return DecodeUtf8(bytes.data() + 3, bytes.size() - 3);
  return locale.AnsiToText(std::string(bytes.begin(), bytes.end()));
}

TextLines::TextLines(Text text) : text_(std::move(text)) {
  size_t nul = text_.find(u'\0');
  if (nul != Text::npos) text_.resize(nul);
}

TextLines::iterator::iterator(const Text* text, size_t start) : text_(text), start_(start) {
  FindEnd();
}

void TextLines::iterator::FindEnd() {
  const char16_t* text = text_->data();
  const size_t size = text_->size();
  end_ = start_;
  while (end_ < size && text[end_] != u'\r' && text[end_] != u'\n') ++end_;
}

TextLines::iterator& TextLines::iterator::operator++() {
  size_t next = end_;
  if (next < text_->size()) {
    // CR LF is one break; LF CR is two.
    if ((*text_)[next] == u'\r' && next + 1 < text_->size() && (*text_)[next + 1] == u'\n') ++next;
    ++next;
  }
  start_ = next;
  FindEnd();
  return *this;
}

std::vector<Text> TextLines::ToVector() const {
  std::vector<Text> lines;
  for (TextView line : *this) lines.emplace_back(line);
  return lines;
}

Text TextLines::Joined(TextView separator) const {
  Text out;
  out.reserve(text_.size() + separator.size());
  for (TextView line : *this) {
    out += line;
    out += separator;
  }
  return out;
}

}  // namespace velmora
