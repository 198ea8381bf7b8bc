#include "hook/cbthook/CbtHook.h"
#include "hook/inputhook/InputHook.h"

#include "PostedMessages.h"
#include "ThreadCount.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kelvo::test {
namespace {

struct HookLibrary {
    const char* name;
    BOOL(WINAPI* start)(HWND);
    void(WINAPI* stop)();
};

void PrintTo(const HookLibrary& library, std::ostream* os) {
    *os << library.name;
}

class HookThreadLifecycleTest : public ::testing::TestWithParam<HookLibrary> {};

TEST_P(HookThreadLifecycleTest, StartingTwiceRunsOneThreadAndStopEndsIt) {
    const HookLibrary& library = GetParam();
    MessageSink sink;
    const std::size_t idle = threadsOfThisProcess();

    ASSERT_TRUE(library.start(sink.hwnd()));
    EXPECT_EQ(threadsOfThisProcess(), idle + 1);
    ASSERT_TRUE(library.start(sink.hwnd()));
    EXPECT_EQ(threadsOfThisProcess(), idle + 1);

    library.stop();
    EXPECT_EQ(threadsOfThisProcess(), idle);
    library.stop(); // stopping what is stopped does nothing
    EXPECT_EQ(threadsOfThisProcess(), idle);
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, HookThreadLifecycleTest,
    ::testing::Values(HookLibrary{"inputhook", &StartMouseKeyHook, &StopMouseKeyHook},
                      HookLibrary{"cbthook", &StartCBTHook, &StopCBTHook}),
    [](const ::testing::TestParamInfo<HookLibrary>& info) { return info.param.name; });

} // namespace
} // namespace kelvo::test
