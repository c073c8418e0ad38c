#include "support/Text.h"

namespace velmora {

Text Ascii(std::string_view ascii) {
  return Text(ascii.begin(), ascii.end());
}

std::string ToUtf8(TextView text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Ill-formed sequences (overlong forms, surrogates, truncated runs) become one U+FFFD each.
Text FromUtf8(std::string_view utf8) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
  const size_t size = utf8.size();
  constexpr char16_t kReplacement = 0xFFFD;
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

Text ToDecimal(int64_t value) {
  return Ascii(std::to_string(value));
}

char16_t UpperAscii(char16_t c) {
  return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
}

Text UpperAscii(TextView text) {
  Text out(text);
  for (auto& c : out) c = UpperAscii(c);
  return out;
}

bool EqualsIgnoreAsciiCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

bool StartsWith(TextView text, TextView prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(TextView text, TextView suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

Text Trim(TextView text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && text[first] <= 32) ++first;
  while (last > first && text[last - 1] <= 32) --last;
  return Text(text.substr(first, last - first));
}

namespace {
size_t NameStart(TextView path) {
  size_t pos = path.find_last_of(u"\\:");
  return pos == TextView::npos ? 0 : pos + 1;
}
}  // namespace

Text FileNameOf(TextView path) {
  return Text(path.substr(NameStart(path)));
}

Text DirectoryOf(TextView path) {
  return Text(path.substr(0, NameStart(path)));
}

Text ExtensionOf(TextView path) {
  size_t dot = path.find_last_of(u".\\:");
  if (dot == TextView::npos || path[dot] != u'.') return Text();
  return Text(path.substr(dot));
}

Text ChangeExtension(TextView path, TextView extension) {
  size_t cut = path.size() - ExtensionOf(path).size();
  return Text(path.substr(0, cut)) + Text(extension);
}

}  // namespace velmora
