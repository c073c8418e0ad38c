#include "platform/win32/Win32Locale.h"

#include <windows.h>

#include <climits>

#include "platform/win32/WideText.h"

namespace velmora::platform {
namespace {

Text LocaleText(LCTYPE type) {
  int needed = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, nullptr, 0);
  if (needed <= 0) return {};
  Text value(static_cast<size_t>(needed), u'\0');
  int stored = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, Wide(value.data()), needed);
  value.resize(stored > 0 ? static_cast<size_t>(stored - 1) : 0);
  return value;
}

}  // namespace

Text Win32Locale::AnsiToText(const std::string& bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  int length = static_cast<int>(bytes.size());
  int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  Text text(static_cast<size_t>(needed), u'\0');
  int stored = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, Wide(text.data()), needed);
  text.resize(stored > 0 ? static_cast<size_t>(stored) : 0);
  return text;
}

std::string Win32Locale::TextToAnsi(const Text& text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  int length = static_cast<int>(text.size());
  // No best fit: a character the code page lacks becomes its default character, never a
  // look-alike ("Ω" must not pass for "O").
  int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Wide(text), length, nullptr, 0,
                                   nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<size_t>(needed), '\0');
  int stored = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Wide(text), length, bytes.data(),
                                   needed, nullptr, nullptr);
  bytes.resize(stored > 0 ? static_cast<size_t>(stored) : 0);
  return bytes;
}

bool Win32Locale::EqualIgnoreCase(const Text& a, const Text& b) {
  if (a.size() > INT_MAX || b.size() > INT_MAX) return false;
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Wide(a), static_cast<int>(a.size()),
                        Wide(b), static_cast<int>(b.size())) == CSTR_EQUAL;
}

NumberSeparators Win32Locale::Separators() {
  NumberSeparators separators;
  Text decimal = LocaleText(LOCALE_SDECIMAL);
  Text thousands = LocaleText(LOCALE_STHOUSAND);
  if (!decimal.empty()) separators.decimal = decimal[0];
  if (!thousands.empty()) separators.thousands = thousands[0];
  return separators;
}

LocalTime Win32Locale::Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

Text Win32Locale::ShortDatePattern() {
  return LocaleText(LOCALE_SSHORTDATE);
}

Text Win32Locale::SystemErrorText(uint32_t code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  Text text = length > 0 && buffer != nullptr ? FromWide(buffer, length) : Text();
  if (buffer != nullptr) LocalFree(buffer);
  return text;
}

}  // namespace velmora::platform
