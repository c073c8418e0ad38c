#include "request/TextDecoding.h"

namespace velmora {
namespace {

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
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes), size));
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
