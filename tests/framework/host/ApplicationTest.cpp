#include "framework/host/Application.h"
#include "framework/host/Exceptions.h"
#include "framework/host/SysUtils.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace plx;

TEST(Application, ExistsBetweenInitializeAndFinalize)
{
    EXPECT_THROW((void)Application(), EInvalidOperation);
    ApplicationUnit::Initialize();
    TApplication* first = &Application();
    // A second initialisation only counts; the instance stays the same.
    ApplicationUnit::Initialize();
    EXPECT_EQ(&Application(), first);
    ApplicationUnit::Finalize();
    EXPECT_EQ(&Application(), first);
    ApplicationUnit::Finalize();
    EXPECT_THROW((void)Application(), EInvalidOperation);
    ApplicationUnit::Finalize();
    EXPECT_THROW((void)Application(), EInvalidOperation);
}

TEST(Application, ExeNameIsTheRunningProgram)
{
    ApplicationUnit::Initialize();
    const std::string exe = Application().ExeName();
    EXPECT_TRUE(FileExists(exe));
    EXPECT_EQ(std::filesystem::path(exe), std::filesystem::canonical("/proc/self/exe"));
    EXPECT_EQ(ExtractFileName(exe), "plumex_framework_tests");
    EXPECT_EQ(Application().Title(), "plumex_framework_tests");
    Application().SetTitle("Gallery");
    EXPECT_EQ(Application().Title(), "Gallery");
    ApplicationUnit::Finalize();
}
