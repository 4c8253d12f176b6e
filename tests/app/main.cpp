// Runs the start-up tests inside the program's own application object, offscreen.

#include "errors/TApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    md::errors::TApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
