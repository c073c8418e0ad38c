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

Text FromUtf8(std::string_view utf8) {
  Text out;
  size_t i = 0;
  while (i < utf8.size()) {
    auto b = static_cast<unsigned char>(utf8[i]);
    uint32_t c = 0xFFFD;
    size_t extra = 0;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F, extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F, extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07, extra = 3;
    }
    ++i;
    for (size_t k = 0; k < extra && i < utf8.size(); ++k, ++i) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
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
