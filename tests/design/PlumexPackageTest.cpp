#include "design/PlumexPackage.h"

#include "color/host/Bitmap.h"
#include "framework/KnClasses.h"
#include "paint/GrafMan.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

using namespace plx;

namespace {

using test::MessageOf;

// Stops the package the test program started, and starts it again at scope exit.
class PackageStopped {
public:
    PackageStopped() { FinalizePackage(); }
    ~PackageStopped() { InitializePackage(); }
    PackageStopped(const PackageStopped&) = delete;
    PackageStopped& operator=(const PackageStopped&) = delete;
};

TEST(PlumexPackage, VersionIsTheBuildsVersion)
{
    const std::string version = PackageVersion();
    EXPECT_TRUE(std::regex_match(version, std::regex(R"(\d+\.\d+\.\d+)"))) << version;
    EXPECT_NE(version, "0.0.0") << "the build did not pass its version";
}

TEST(PlumexPackage, ScopesNestAndOnlyTheOutermostStopsTheUnits)
{
    ASSERT_NE(Alarmer(), nullptr);
    {
        TPackageScope inner;
        EXPECT_NE(Alarmer(), nullptr);
    }
    EXPECT_NE(Alarmer(), nullptr) << "an inner scope stopped the package";
    {
        PackageStopped stopped;
        EXPECT_EQ(Alarmer(), nullptr);
        {
            TPackageScope scope;
            EXPECT_NE(Alarmer(), nullptr);
        }
        EXPECT_EQ(Alarmer(), nullptr);
    }
}

TEST(PlumexPackage, RoutinesCalledBeforeStartUpSayWhatToCreate)
{
    PackageStopped stopped;
    TBitmap picture(4, 4);
    const std::string message = MessageOf([&] { (void)GreyBMP(picture); });
    EXPECT_NE(message.find("plx::TPackageScope"), std::string::npos) << message;
    EXPECT_NE(message.find("plx::InitializePackage"), std::string::npos) << message;
    EXPECT_NE(message.find("first"), std::string::npos) << message;
}

} // namespace
