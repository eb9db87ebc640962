// Main of the tests without widgets.
#include "test_env.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ktvSetTestEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
