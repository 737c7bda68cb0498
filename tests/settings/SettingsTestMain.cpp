// Runs the settings tests on the backend named by --backend=model|gtk (model by
// default). The choice is made before any test, once per process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "SettingsBackend.h"

namespace zt::test {

static zt::windows::Backend requested = zt::windows::Backend::Model;
static zt::windows::Backend chosen = zt::windows::Backend::Model;

zt::windows::Backend RequestedBackend() {
    return requested;
}
bool HaveRequestedBackend() {
    return chosen == requested;
}

} // namespace zt::test

int main(int argc, char** argv) {
    // A bare test display has no accessibility bus: GTK's bridge to it would only
    // warn and leave a half-made connection behind.
    setenv("NO_AT_BRIDGE", "1", 0);
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--backend=gtk") == 0)
            zt::test::requested = zt::windows::Backend::Gtk;
    }
    bool listing = ::testing::GTEST_FLAG(list_tests);
    if (!listing) {
        bool forceModel = zt::test::requested == zt::windows::Backend::Model;
        zt::test::chosen = zt::windows::ChooseBackend(forceModel);
    }
    return RUN_ALL_TESTS();
}
