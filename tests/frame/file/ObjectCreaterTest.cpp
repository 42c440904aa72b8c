#include <gtest/gtest.h>

#include <stdexcept>

#include "frame/file/File.h"
#include "frame/file/ObjectCreater.h"
#include "platform/HostPath.h"
#include "tests/frame/file/plugin/TestObject.h"
#include "tests/kit/RecordingErrorLog.h"

using namespace kivotasuGameKit;

namespace {

std::string PlugIn(const std::string& kind)
{
    return platform::ToInternalPath(std::string(QUILTOR_TEST_PLUGIN_DIR) + "/test_plugin_" + kind + ".so");
}

// The answer of a new "TestObject", 0 when none can be made.
int Answer(CObjectCreater& creater)
{
    auto* object = static_cast<ITestObject*>(creater.Create("TestObject"));
    if (!object) return 0;
    const int answer = object->Answer();
    delete object;
    return answer;
}

class CountingFactory : public IObjectFactory {
public:
    explicit CountingFactory(int* made) : m_made(made) {}
    void* Create() override { return &++*m_made; }

private:
    int* m_made;
};

class ObjectCreaterTest : public ::testing::Test {
protected:
    void TearDown() override { CObjectCreater::ReleaseInstance(); }
    CObjectCreater& Creater() { return *CObjectCreater::GetInstance(); }
};

TEST_F(ObjectCreaterTest, LoadsAreCountedAndTheLastReleaseUnloads)
{
    Creater().LoadPlugIn(PlugIn("first"));
    Creater().LoadPlugIn(PlugIn("first"));
    EXPECT_EQ(Answer(Creater()), 42);
    Creater().ReleasePlugIn(PlugIn("first"));
    EXPECT_EQ(Answer(Creater()), 42) << "one load is left";
    Creater().ReleasePlugIn(PlugIn("first"));
    EXPECT_EQ(Answer(Creater()), 0);

    testkit::ScopedErrorLogRecorder log;
    Creater().ReleasePlugIn(PlugIn("first"));
    EXPECT_TRUE(log->Contains("CObjectCreater::ReleasePlugIn 登録されていないPlugInの削除"));
}

TEST_F(ObjectCreaterTest, RelativeAndAbsoluteNamesAreOnePlugIn)
{
    const std::string saved = CFile::GetCurrentDir();
    CFile::SetCurrentDir(platform::ToInternalPath(QUILTOR_TEST_PLUGIN_DIR));
    Creater().LoadPlugIn("test_plugin_first.so");
    Creater().LoadPlugIn(PlugIn("first"));
    Creater().ReleasePlugIn(PlugIn("first"));
    EXPECT_EQ(Answer(Creater()), 42);
    Creater().ReleasePlugIn(".\\test_plugin_first.so");
    EXPECT_EQ(Answer(Creater()), 0);
    CFile::SetCurrentDir(saved);
}

TEST_F(ObjectCreaterTest, EarlierRegistrationWins)
{
    Creater().LoadPlugIn(PlugIn("first"));
    Creater().LoadPlugIn(PlugIn("second"));
    EXPECT_EQ(Answer(Creater()), 42);
    Creater().ReleasePlugIn(PlugIn("first"));
    EXPECT_EQ(Answer(Creater()), 7) << "the second plug-in's class remains";
}

TEST_F(ObjectCreaterTest, FailedLoadsLeaveNoTrace)
{
    testkit::ScopedErrorLogRecorder log;
    const std::string missing = PlugIn("missing");
    Creater().LoadPlugIn(missing);
    EXPECT_TRUE(log->Contains("CDllPlugInLoader::Load \"" + CFile::NormalizePath(missing) + "\"のロードに失敗"));
    Creater().LoadPlugIn(PlugIn("noentry"));
    log->Clear();
    Creater().ReleasePlugIn(PlugIn("noentry"));
    EXPECT_TRUE(log->Contains("登録されていないPlugInの削除")) << "a library without the entry is not kept";

    // A class registered later outside any load has no owner.
    int made = 0;
    Creater().RegisterClass("Counter", new CountingFactory(&made));
    EXPECT_NE(Creater().Create(std::string("Counter")), nullptr);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(Creater().Create("counter"), nullptr) << "case counts";
}

TEST_F(ObjectCreaterTest, EntryThatThrowsTakesItsClassesAlong)
{
    EXPECT_THROW(Creater().LoadPlugIn(PlugIn("throwing")), std::runtime_error);
    EXPECT_EQ(Creater().Create("Thrown"), nullptr);
    EXPECT_EQ(Answer(Creater()), 0);
    // The loading mark was cleared: a class registered now belongs to no
    // plug-in and survives the next plug-in's release.
    int made = 0;
    Creater().RegisterClass("Counter", new CountingFactory(&made));
    Creater().LoadPlugIn(PlugIn("first"));
    Creater().ReleasePlugIn(PlugIn("first"));
    EXPECT_NE(Creater().Create("Counter"), nullptr);
}

TEST_F(ObjectCreaterTest, MemoryComesFromTheProgram)
{
    void* memory = Creater().New(64);
    ASSERT_NE(memory, nullptr);
    Creater().Delete(memory);
}

} // namespace
