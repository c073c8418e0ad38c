#include "request/CommaText.h"

#include "support/Errors.h"
#include "support/Format.h"

namespace velmora {
namespace {

bool IsBlank(char16_t c) {
  return c >= 1 && c <= 32;
}

}  // namespace

std::vector<Text> SplitCommaText(TextView value) {
  value = value.substr(0, value.find(u'\0'));
  const size_t n = value.size();
  std::vector<Text> items;
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < n && IsBlank(value[i])) ++i;
  };
  skipBlanks();
  while (i < n) {
    Text item;
    if (value[i] == u'"') {
      ++i;
      while (i < n) {
        if (value[i] == u'"') {
          if (i + 1 < n && value[i + 1] == u'"') {
            item += u'"';
            i += 2;
            continue;
          }
          ++i;  // the closing quote
          break;
        }
        item += value[i++];
      }
    } else {
      size_t start = i;
      while (i < n && value[i] != u',' && !IsBlank(value[i])) ++i;
      item.assign(value.substr(start, i - start));
    }
    items.push_back(std::move(item));
    skipBlanks();
    if (i < n && value[i] == u',') {
      if (i == n - 1) items.emplace_back();  // a trailing comma ends with an empty item
      ++i;
      skipBlanks();
    }
  }
  return items;
}

const Text& ListItem(const std::vector<Text>& items, int index) {
  if (index < 0 || static_cast<size_t>(index) >= items.size())
    throw EVelmora(Format(u"List index out of bounds (%d)", {int64_t{index}}), u"EStringListError");
  return items[static_cast<size_t>(index)];
}

}  // namespace velmora
