// SPDX-License-Identifier: GPL-3.0-or-later
// Every shipped H.264 profile of every device, through zantrove-cli convert and the real encoder: the
// stream headers of the output must stay within what Apple lists for the device. A profile's options
// only say what was asked; the headers say what the player gets.
#include "devices/DeviceCatalog.h"
#include "devices/ProfileFile.h"
#include "devices/SettingsControls.h"
#include "tests/devices/PublishedLimits.h"
#include "tests/e2e/PipelineSupport.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace zantrove {
namespace {

// Each syntax element that ffmpeg's trace_headers prints, with its value where it first appears.
std::map<std::string, int> TraceHeaders(const std::string& path)
{
    std::istringstream trace(test::CaptureShell("ffmpeg -nostdin -hide_banner -i " + test::ShellQuote(path) +
                                                " -map 0:v:0 -c:v copy -bsf:v trace_headers -f null - 2>&1"));
    std::map<std::string, int> values;
    // "[trace_headers @ 0x5616] 37          max_num_ref_frames          00100 = 3"
    for (std::string line; std::getline(trace, line);) {
        std::istringstream words(line.substr(std::min(line.find(']') + 1, line.size())));
        std::string position, name, bits, equals;
        int value = 0;
        if (line.starts_with("[trace_headers") && words >> position >> name >> bits >> equals >> value &&
            equals == "=")
            values.emplace(name, value);
    }
    return values;
}

// The rate control x264 ran with, as it records it in the stream: "vbv_maxrate=1500".
int X264Setting(const std::string& path, const std::string& key)
{
    const std::string bytes = test::ReadTextFile(path);
    const std::size_t at = bytes.find(" " + key + "=");
    return at == std::string::npos ? -1 : std::atoi(bytes.c_str() + at + key.size() + 2);
}

// ITU-T H.264 table A-1: MaxDpbMbs, the decoded picture buffer in macroblocks, of levels 3.0 to 4.1.
int DecodedPictureBuffer(int levelIdc)
{
    return levelIdc <= 30 ? 8100 : levelIdc == 31 ? 18000 : 32768;
}

using StreamHeaders = ::testing::TestWithParam<DeviceInfo>;

TEST_P(StreamHeaders, EveryH264ProfileStaysWithinThePublishedLimit)
{
    const std::string device(GetParam().identifier);
    const test::PublishedH264* published = test::FindPublishedH264(device);
    ASSERT_TRUE(published);
    const std::string folder = test::MakeTempFolder("headers");
    const std::string clip = folder + "/clip.mp4";
    ASSERT_TRUE(test::Ffmpeg("-f lavfi -i testsrc2=size=160x90:rate=30 -f lavfi -i sine -t 0.2 -c:v libx264 "
                             "-preset ultrafast -pix_fmt yuv420p -c:a aac " +
                             test::ShellQuote(clip)));

    const std::string file = ProfileFilePath(ZANTROVE_APP_DIR, device);
    const auto codecs = ReadDefaultsList(file, ChoiceBox::VideoCodec);
    int checked = 0;
    for (int number = 1; number <= ReadNumberOfProfiles(file); ++number) {
        const ProfileSection profile = ReadProfileSection(file, number);
        const int codec = profile.indexes[Slot(ChoiceBox::VideoCodec)].value_or(-1);
        if (profile.checks[Slot(CheckBox::VideoNoVideo)] == 1 || codec < 0 ||
            std::size_t(codec) >= codecs.size() || codecs[codec] != "libx264")
            continue;
        SCOPED_TRACE(profile.name);
        const std::string output = folder + "/" + std::to_string(number);
        const test::CliRun run = test::Convert(device, output, {"--profile", std::to_string(number), clip});
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_FALSE(std::filesystem::is_empty(output));
        const std::string path = std::filesystem::directory_iterator(output)->path().string();

        auto header = TraceHeaders(path);
        ASSERT_TRUE(header.contains("max_num_ref_frames"));
        ASSERT_TRUE(header.contains("entropy_coding_mode_flag"));
        EXPECT_EQ(header["profile_idc"], published->profileIdc);
        EXPECT_LE(header["level_idc"], published->levelIdc);
        if (published->profileIdc == 66) {
            EXPECT_EQ(header["constraint_set0_flag"], 1) << "not marked as keeping to Baseline";
            EXPECT_EQ(header["entropy_coding_mode_flag"], 0) << "CABAC";
        }
        const int macroblocks =
            (header["pic_width_in_mbs_minus1"] + 1) * (header["pic_height_in_map_units_minus1"] + 1);
        EXPECT_LE(macroblocks, ((published->width + 15) / 16) * ((published->height + 15) / 16));
        const int referenceFrames =
            published->referenceFrames > 0
                ? published->referenceFrames
                : std::min(16, DecodedPictureBuffer(published->levelIdc) / macroblocks);
        EXPECT_LE(header["max_num_ref_frames"], referenceFrames);
        const int maxrate = X264Setting(path, "vbv_maxrate"), buffer = X264Setting(path, "vbv_bufsize");
        EXPECT_GT(maxrate, 0) << "no rate ceiling";
        EXPECT_GT(buffer, 0) << "no buffer size";
        EXPECT_LE(maxrate, published->peakKbps);
        EXPECT_LE(buffer, published->bufferKbit);
        ++checked;
    }
    EXPECT_GE(checked, 1) << "no H.264 profile in " << file;
}

INSTANTIATE_TEST_SUITE_P(Devices, StreamHeaders, ::testing::ValuesIn(kDevices),
                         [](const auto& device) { return test::CaseName(device.param.identifier); });

} // namespace
} // namespace zantrove
