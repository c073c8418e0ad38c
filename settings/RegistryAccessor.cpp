#include "settings/RegistryAccessor.h"

#include "support/Errors.h"
#include "support/Format.h"

namespace velmora {

using platform::RegistryQuery;

namespace {

[[noreturn]] void InvalidDataType(const Text& name) {
  throw EVelmora(Format(u"Invalid data type for '%s'", {name}), u"ERegistryException");
}

[[noreturn]] void FailedToGetData(const Text& name) {
  throw EVelmora(Format(u"Failed to get data for '%s'", {name}), u"ERegistryException");
}

[[noreturn]] void FailedToSetData(const Text& name) {
  throw EVelmora(Format(u"Failed to set data for '%s'", {name}), u"ERegistryException");
}

}  // namespace

Text RegistryStringText(const std::vector<uint8_t>& data) {
  Text text;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return text;
}

RegistryAccessor::RegistryAccessor(platform::IRegistry& registry, uint32_t access)
    : registry_(registry), access_(access) {}

void RegistryAccessor::SetRoot(platform::Hive hive) {
  SetRoot(hive, hive == platform::Hive::LocalMachine ? platform::RegistryView::Wow32
                                                     : platform::RegistryView::Native);
}

void RegistryAccessor::SetRoot(platform::Hive hive, platform::RegistryView view) {
  if (hive != root_ || view != view_) CloseKey();
  root_ = hive;
  view_ = view;
}

bool RegistryAccessor::OpenKey(const Text& path, bool canCreate) {
  CloseKey();
  key_ = canCreate ? registry_.Create(root_, path, access_, view_)
                   : registry_.Open(root_, path, access_, view_);
  return key_ != nullptr;
}

bool RegistryAccessor::ValueExists(const Text& name) {
  if (!key_) return false;
  auto status = key_->Query(name, 0).status;
  return status == RegistryQuery::Status::Ok || status == RegistryQuery::Status::MoreData;
}

Text RegistryAccessor::ReadString(const Text& name) {
  if (!key_) return Text();
  RegistryQuery sized = key_->Query(name, 0);
  if (sized.status == RegistryQuery::Status::NotFound ||
      sized.status == RegistryQuery::Status::Failed || sized.size == 0) {
    return Text();
  }
  RegistryQuery read = key_->Query(name, sized.size);
  if (read.status != RegistryQuery::Status::Ok) FailedToGetData(name);
  if (read.type != platform::kRegSz && read.type != platform::kRegExpandSz) InvalidDataType(name);
  return RegistryStringText(read.data);
}

bool RegistryAccessor::ReadBool(const Text& name) {
  if (!key_) FailedToGetData(name);
  RegistryQuery read = key_->Query(name, 4);
  if (read.status != RegistryQuery::Status::Ok) FailedToGetData(name);
  if (read.type != platform::kRegDword) InvalidDataType(name);
  uint32_t value = 0;
  for (size_t i = 0; i < read.data.size(); ++i) value |= uint32_t{read.data[i]} << (8 * i);
  return value != 0;
}

void RegistryAccessor::WriteString(const Text& name, const Text& value) {
  std::vector<uint8_t> data;
  data.reserve((value.size() + 1) * 2);
  for (char16_t c : value + u'\0') {
    data.push_back(static_cast<uint8_t>(c & 0xFF));
    data.push_back(static_cast<uint8_t>(c >> 8));
  }
  if (!key_ || key_->Set(name, platform::kRegSz, data) != 0) FailedToSetData(name);
}

void RegistryAccessor::WriteBool(const Text& name, bool value) {
  std::vector<uint8_t> data{static_cast<uint8_t>(value ? 1 : 0), 0, 0, 0};
  if (!key_ || key_->Set(name, platform::kRegDword, data) != 0) FailedToSetData(name);
}

}  // namespace velmora
