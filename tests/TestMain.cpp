#include "design/PlumexPackage.h"

#include <gtest/gtest.h>

namespace {

// Every test program runs with the package started, as an application would.
class PackageEnvironment : public testing::Environment {
public:
    void SetUp() override { plx::InitializePackage(); }
    void TearDown() override { plx::FinalizePackage(); }
};

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new PackageEnvironment);
    return RUN_ALL_TESTS();
}
