// SPDX-License-Identifier: GPL-3.0-or-later
// The connected iPod's free space against a batch's size, with an iPod folder made by libgpod and a
// stand-in for the free-space query.
#include "tests/support/TestHome.h"
#include "tests/tools/TestIpod.h"
#include "tools/library/IpodSpace.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

TEST(IpodSpaceTest, FreeSpaceOfTheConnectedIpodAgainstTheBatch)
{
    const test::TestHome home;
    {
        const test::TestIpod ipod;
        ASSERT_TRUE(ipod.Made());
        std::string asked;
        const auto space = ConnectedIpodSpace([&asked](const std::string& folder) {
            asked = folder;
            return std::optional<std::uint64_t>(1'500'000'000);
        });
        ASSERT_TRUE(space);
        EXPECT_EQ(asked, ipod.MountPoint());
        const std::string free = "1.50 GB free on the iPod JO S IPOD";
        for (const std::uint64_t batch : {900'000'000ull, 1'500'000'000ull}) {
            const IpodFit fit = DescribeIpodFit(*space, batch);
            EXPECT_TRUE(fit.fits) << batch;
            EXPECT_EQ(fit.text, free);
        }
        const IpodFit over = DescribeIpodFit(*space, 2'340'000'000);
        EXPECT_FALSE(over.fits);
        EXPECT_EQ(over.text, free + ": the converted files (about 2.34 GB) will not fit");
        // A space that cannot be read says nothing rather than something wrong.
        EXPECT_FALSE(ConnectedIpodSpace([](const std::string&) { return std::optional<std::uint64_t>(); }));
        EXPECT_GT(FreeSpaceOf(ipod.MountPoint()).value_or(0), 0u);
    }
    const test::ScopedEnv noIpod("ZANTROVE_TEST_MOUNTS", test::MountsWithoutIpod());
    EXPECT_FALSE(ConnectedIpodSpace([](const std::string&) { return std::optional<std::uint64_t>(1); }));
}

} // namespace
} // namespace zantrove
