// Main of the widget tests: one QApplication (offscreen platform) around GoogleTest.
#include "test_env.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ktvSetTestEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
