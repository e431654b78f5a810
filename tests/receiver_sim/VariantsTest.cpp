// The build variants that each lack one export, for the panel's missing-entry tests.

#include "SimPlugin.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr const char* kEntryPoints[] = {
    "InitHW", "OpenHW", "StartHW", "StopHW", "CloseHW", "SetHWLO",
    "GetHWLO", "TuneChanged", "SetCallback", "ShowGUI", "HideGUI",
};

void expectExports(HMODULE module, const char* missing)
{
    for (const char* name : kEntryPoints) {
        const bool wanted = missing == nullptr || std::strcmp(name, missing) != 0;
        EXPECT_EQ(GetProcAddress(module, name) != nullptr, wanted) << name;
    }
}

TEST(ReceiverSimVariants, TheCompletePluginExportsEveryEntryPoint)
{
    SimPlugin plugin;
    ASSERT_NE(plugin.module(), nullptr);
    expectExports(plugin.module(), nullptr);
}

TEST(ReceiverSimVariants, EachVariantLacksExactlyItsEntryPoint)
{
    for (const char* missing : kEntryPoints) {
        SCOPED_TRACE(missing);
        SimPlugin plugin(Env{}, variantPath(missing));
        ASSERT_NE(plugin.module(), nullptr);
        expectExports(plugin.module(), missing);
    }
}

}  // namespace
