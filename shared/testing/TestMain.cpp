// Test entry for every test binary: one QApplication for the forms, offscreen unless the
// test's label gave it a display.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Without a display even a test asking for real windows starts offscreen, so that it can
    // skip itself instead of aborting in QApplication.
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
