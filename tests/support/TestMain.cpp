// SPDX-License-Identifier: GPL-3.0-or-later
// Every test program starts with a fresh temporary home, so no test ever touches the real one.
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    zantrove::test::TestHome home;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
