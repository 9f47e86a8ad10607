#pragma once
// The main of a test program whose windows draw for real: an X display
// (a private Xvfb when none is set) and the xcb platform even where the
// test environment asks for the offscreen one.  Listing the tests needs
// neither.
#include "XDisplay.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstring>
#include <functional>

namespace kalvion::test {

// before runs once the display is there, before the application starts
// (settings the application reads when it starts belong there).
inline int RunXWindowTests(int argc, char **argv, const std::function<void()> &before = {})
{
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    ::testing::InitGoogleTest(&argc, argv);
    if (listing)
        return RUN_ALL_TESTS();
    EnsureXDisplay();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (before)
        before();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

} // namespace kalvion::test
