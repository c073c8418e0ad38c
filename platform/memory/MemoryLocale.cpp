#include "platform/memory/MemoryLocale.h"

#include <array>

#include "platform/memory/CaseFold.h"

namespace velmora::platform {
namespace {

// Windows-1252 bytes 0x80..0x9F; the five bytes the code page leaves undefined map to the
// control characters of the same value, as MultiByteToWideChar does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ToUnicode(uint8_t b) {
  return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
}

char ToAnsi(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (size_t i = 0; i < kHigh.size(); ++i)
    if (kHigh[i] == c) return static_cast<char>(0x80 + i);
  return '?';
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

}  // namespace

MemoryLocale::MemoryLocale() : shortDatePattern_(u"dd.MM.yy"), now_{2025, 1, 15, 10, 0, 0, 0} {}

Text MemoryLocale::AnsiToText(const std::string& bytes) {
  Text out;
  out.reserve(bytes.size());
  for (char b : bytes) out += ToUnicode(static_cast<uint8_t>(b));
  return out;
}

std::string MemoryLocale::TextToAnsi(const Text& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    // A surrogate pair is one character and becomes one default character.
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
    out += ToAnsi(text[i]);
  }
  return out;
}

bool MemoryLocale::EqualIgnoreCase(const Text& a, const Text& b) {
  // Folding keeps the length, so the texts are compared letter by letter, without copies.
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

Text MemoryLocale::SystemErrorText(uint32_t code) {
  struct Entry {
    uint32_t code;
    const char16_t* text;
  };
  static constexpr Entry kTexts[] = {
      {0, u"The operation completed successfully."},
      {2, u"The system cannot find the file specified."},
      {3, u"The system cannot find the path specified."},
      {5, u"Access is denied."},
      {6, u"The handle is invalid."},
      {32, u"The process cannot access the file because it is being used by another process."},
      {80, u"The file exists."},
      {87, u"The parameter is incorrect."},
      {123, u"The filename, directory name, or volume label syntax is incorrect."},
      {183, u"Cannot create a file when that file already exists."},
      {193, u"%1 is not a valid Win32 application."},
      {234, u"More data is available."},
      {1223, u"The operation was canceled by the user."},
  };
  for (const auto& e : kTexts)
    if (e.code == code) return Text(e.text) + u"\r\n";
  return u"Unknown error " + ToDecimal(code) + u".\r\n";
}

void MemoryLocale::Advance(int64_t milliseconds) {
  if (milliseconds <= 0) return;  // the clock only moves forward
  int64_t ms = now_.millisecond + milliseconds;
  int64_t seconds = now_.second + ms / 1000;
  now_.millisecond = static_cast<int>(ms % 1000);
  int64_t minutes = now_.minute + seconds / 60;
  now_.second = static_cast<int>(seconds % 60);
  int64_t hours = now_.hour + minutes / 60;
  now_.minute = static_cast<int>(minutes % 60);
  int64_t days = hours / 24;
  now_.hour = static_cast<int>(hours % 24);
  for (; days > 0; --days) {
    if (++now_.day > DaysInMonth(now_.year, now_.month)) {
      now_.day = 1;
      if (++now_.month > 12) {
        now_.month = 1;
        ++now_.year;
      }
    }
  }
}

}  // namespace velmora::platform
