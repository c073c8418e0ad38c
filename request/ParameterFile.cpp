#include "request/ParameterFile.h"

#include "support/Errors.h"
#include "support/Format.h"

namespace velmora {

TextLines ReadTextLines(platform::IFileSystem& files, platform::ILocale& locale, const Text& path) {
  platform::ReadResult read = files.ReadWhole(path, platform::Sharing::ReadOnly);
  if (!read.ok) {
    throw EVelmora(
        Format(u"Cannot open file \"%s\". %s",
               {files.FullPathName(path), TrimSystemText(locale.SystemErrorText(read.error))}),
        u"EFOpenError");
  }
  Text text = DecodeText(read.bytes, locale);
  read.bytes = {};  // the bytes are not needed while the lines live
  return TextLines(std::move(text));
}

Text GetNamedValue(platform::ILocale& locale, const TextLines& lines, const Text& key) {
  for (TextView line : lines) {
    size_t equals = line.find(u'=');
    if (equals == TextView::npos) continue;
    if (locale.EqualIgnoreCase(Text(line.substr(0, equals)), key))
      return Text(line.substr(equals + 1));
  }
  return Text();
}

}  // namespace velmora
