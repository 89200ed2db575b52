#include <gtest/gtest.h>

#include <QApplication>

#include "app/Resources.h"

// The widget tests need one application object for the whole run. They run headless unless
// told otherwise, also when the test list is read at build time.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vaultrix::loadResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
