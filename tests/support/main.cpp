// Test entry point: unbuffered output, so that a runner that pipes it sees every line at once.
#include <gtest/gtest.h>
#include <stdio.h>
#include "support/testing.h"

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    setvbuf(stderr, NULL, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    InitTestSupport();
    return RUN_ALL_TESTS();
}
