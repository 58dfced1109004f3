// The tray indicator and notification libraries are opened at run time: a missing library or
// function must come back as "absent" (the callers then fall back), never as a bad pointer.
#include <glib.h>
#include <gtest/gtest.h>

#include "app/shell/indicator_library.h"
#include "app/shell/notify_library.h"
#include "app/shell/runtime_library.h"

namespace zentrik::app {
namespace {

TEST(RuntimeLibrary, MissingLibraryIsAbsentWithAReason) {
    RuntimeLibrary library("libzentrik-no-such-library.so.7");
    EXPECT_FALSE(library.is_open());
    decltype(&g_strdup) fn = &g_strdup;
    EXPECT_FALSE(library.bind(fn, "g_strdup"));
    EXPECT_EQ(fn, nullptr);
    EXPECT_NE(library.error().find("libzentrik-no-such-library.so.7"), std::string::npos)
        << library.error();
}

TEST(RuntimeLibrary, FindsPresentFunctionsAndReportsMissingOnes) {
    RuntimeLibrary glib("libglib-2.0.so.0");
    ASSERT_TRUE(glib.is_open()) << glib.error();
    decltype(&g_strdup) dup = nullptr;
    ASSERT_TRUE(glib.bind(dup, "g_strdup"));
    gchar* copy = dup("mouse");
    EXPECT_STREQ(copy, "mouse");
    g_free(copy);

    EXPECT_FALSE(glib.bind(dup, "g_zentrik_no_such_function"));
    EXPECT_EQ(dup, nullptr);
    EXPECT_NE(glib.error().find("g_zentrik_no_such_function"), std::string::npos) << glib.error();
}

// The build's own headers come with the libraries, so every function the tables name must be
// found in them: a misspelt or removed name would silently drop the tray indicator.
TEST(DesktopLibraries, EveryFunctionIsFoundInTheInstalledLibraries) {
    const IndicatorLibrary* indicator = indicator_library();
    ASSERT_NE(indicator, nullptr);
    EXPECT_EQ(indicator, indicator_library());  // opened once
    const NotifyLibrary* notify = notify_library();
    ASSERT_NE(notify, nullptr);
    EXPECT_FALSE(notify->notify_is_initted());
}

}  // namespace
}  // namespace zentrik::app
