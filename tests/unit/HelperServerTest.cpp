#include <gtest/gtest.h>

#include "disposal/HelperServer.h"
#include "platform/memory/MemoryPlatform.h"
#include "support/Errors.h"

namespace velmora {
namespace {

using platform::ComCallResult;
using Stage = platform::ComCallResult::Stage;

const Text kClsid = u"{3F990032-0766-453D-AC59-3A33A8722940}";
const Text kIid = u"{7CB583D2-9E46-4080-BE15-09138B846596}";

// The system's texts end in CR LF and a period, as FormatMessageW gives them.
class SystemTextServer : public platform::MemoryComServer {
 public:
  Text ErrorText(int32_t hresult) override {
    if (hresult == int32_t(0x80070005)) return u"Access is denied.\r\n";
    return MemoryComServer::ErrorText(hresult);
  }
};

TEST(HelperServer, HandsTheFileToTheServerClass) {
  SystemTextServer com;
  AddTempFile(com, u"C:\\Temp\\pvc1.zip");
  ASSERT_EQ(com.calls.size(), 1u);
  EXPECT_EQ(com.calls[0].clsid, kClsid);
  EXPECT_EQ(com.calls[0].iid, kIid);
  EXPECT_EQ(com.calls[0].path, u"C:\\Temp\\pvc1.zip");
}

TEST(HelperServer, EachFailureRaisesItsKindAndMessage) {
  struct Row {
    const char* name;
    ComCallResult result;
    Text kind, message;
  } rows[] = {
      {"not registered",
       {Stage::CreateFailed, int32_t(0x80040154), u""},
       u"EOleSysError",
       u"Class not registered, ClassID: " + kClsid},
      {"cannot start, system text trimmed",
       {Stage::CreateFailed, int32_t(0x80070005), u""},
       u"EOleSysError",
       u"Access is denied, ClassID: " + kClsid},
      {"code without system text",
       {Stage::CreateFailed, int32_t(0x8008000A), u""},
       u"EOleSysError",
       u"OLE error 8008000A, ClassID: " + kClsid},
      {"interface missing",
       {Stage::InterfaceMissing, int32_t(0x80004002), u""},
       u"EIntfCastError",
       u"Interface not supported"},
      {"refused with a description",
       {Stage::CallFailed, int32_t(0x80004005), u"File is busy"},
       u"EOleException",
       u"File is busy"},
      {"refused without a description",
       {Stage::CallFailed, int32_t(0x80070005), u""},
       u"EOleException",
       u"Access is denied"},
      {"refused without any text",
       {Stage::CallFailed, int32_t(0x80041234), u""},
       u"EOleException",
       u"OLE error 80041234"},
  };
  for (const auto& r : rows) {
    SystemTextServer com;
    com.result = r.result;
    try {
      AddTempFile(com, u"C:\\Temp\\pvc1.zip");
      ADD_FAILURE() << r.name << ": no error";
    } catch (const EVelmora& error) {
      EXPECT_EQ(error.Kind(), r.kind) << r.name;
      EXPECT_EQ(error.Message(), r.message) << r.name;
    }
  }
}

TEST(HelperServer, OleErrorTextHasEightUpperCaseHexDigits) {
  EXPECT_EQ(OleErrorText(int32_t(0x800401F0)), u"OLE error 800401F0");
  EXPECT_EQ(OleErrorText(0x1A), u"OLE error 0000001A");
}

// Records how keys are opened before the in-memory registry answers.
class RecordingRegistry : public platform::MemoryRegistry {
 public:
  std::unique_ptr<platform::IRegistryKey> Open(platform::Hive hive, const Text& path,
                                               uint32_t access,
                                               platform::RegistryView view) override {
    opened.push_back({hive, path, access});
    return MemoryRegistry::Open(hive, path, access, view);
  }
  struct Opened {
    platform::Hive hive;
    Text path;
    uint32_t access;
  };
  std::vector<Opened> opened;
};

TEST(HelperServer, RegisteredWhenItsClassKeyOpensForReading) {
  const Text key = u"CLSID\\" + kClsid;
  RecordingRegistry registry;
  EXPECT_FALSE(IsHelperRegistered(registry));
  registry.AddKey(platform::Hive::ClassesRoot, key);
  EXPECT_TRUE(IsHelperRegistered(registry));
  registry.DenyOpen(platform::Hive::ClassesRoot, key);
  EXPECT_FALSE(IsHelperRegistered(registry));
  for (const auto& o : registry.opened) {
    EXPECT_EQ(o.hive, platform::Hive::ClassesRoot);
    EXPECT_EQ(o.path, key);
    EXPECT_EQ(o.access, 0x20019u);
  }
}

}  // namespace
}  // namespace velmora
