#include "framework/host/Forms.h"
#include "rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace plx;

TEST(Application, ExistsOnceAndRepeatedStartsOnlyCount)
{
    // The test program runs inside the package, which started the control layer.
    ASSERT_TRUE(InitializedApplication());
    TApplication* first = &Application();
    InitializeControls();
    EXPECT_EQ(&Application(), first);
    FinalizeControls();
    EXPECT_TRUE(InitializedApplication()) << "the balancing finalisation is still to come";
    EXPECT_EQ(&Application(), first);
}

TEST(Application, ExeNameIsTheRunningProgram)
{
    const std::string exe = Application().ExeName();
    EXPECT_TRUE(FileExists(exe));
    EXPECT_EQ(std::filesystem::path(exe), std::filesystem::canonical("/proc/self/exe"));
    EXPECT_EQ(ExtractFileName(exe), "plumex_framework_tests");
    EXPECT_EQ(Application().Title(), "plumex_framework_tests");
    Application().SetTitle("Gallery");
    EXPECT_EQ(Application().Title(), "Gallery");
}
