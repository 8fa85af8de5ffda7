// The designer's tests run in a host that has only started its control layer:
// the package comes and goes with LoadPackage and UnloadPackage.
#include "framework/host/Forms.h"
#include "framework/host/Packages.h"

#include <gtest/gtest.h>

namespace {

class HostEnvironment : public testing::Environment {
public:
    void SetUp() override { plx::InitializeControls(); }
    void TearDown() override
    {
        plx::UnloadAllPackages();
        plx::FinalizeControls();
    }
};

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new HostEnvironment);
    return RUN_ALL_TESTS();
}
