// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/MediaInfoLibrary.h"

#include "tests/media/MediaClips.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

TEST(WideText, Utf8RoundTripsThroughWideStrings)
{
    for (const std::string text :
         {"", "plain.avi", "/home/ü/Überraschung ñ.mp4", "日本語のビデオ.mkv", "emoji 🎬 clip"}) {
        const std::wstring wide = WideFromUtf8(text);
        EXPECT_EQ(StringFromWidePointer(wide.c_str()), text);
    }
}

TEST(WideText, CodePointsAreDecodedNotBytes)
{
    const std::wstring wide = WideFromUtf8("é🎬");
    if constexpr (sizeof(wchar_t) == 4) {
        ASSERT_EQ(wide.size(), 2u);
        EXPECT_EQ(wide[0], L'\u00E9');
        EXPECT_EQ(static_cast<char32_t>(wide[1]), U'\U0001F3AC');
    } else {
        EXPECT_EQ(wide.size(), 3u); // a surrogate pair for the clapper board
    }
}

TEST(WideText, MalformedBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(StringFromWidePointer(WideFromUtf8("a\xFF"
                                                 "b")
                                        .c_str()),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(StringFromWidePointer(WideFromUtf8("\xC3").c_str()), "\xEF\xBF\xBD"); // cut short
    EXPECT_EQ(StringFromWidePointer(WideFromUtf8("\xC0\xAF").c_str()),
              "\xEF\xBF\xBD\xEF\xBF\xBD"); // overlong
    // an encoded surrogate is no character
    EXPECT_EQ(StringFromWidePointer(WideFromUtf8("\xED\xA0\x80").c_str()),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    if constexpr (sizeof(wchar_t) == 4) {
        const wchar_t beyond[] = {static_cast<wchar_t>(0x110000), 0};
        EXPECT_EQ(StringFromWidePointer(beyond), "\xEF\xBF\xBD");
    }
}

TEST(WideText, NullPointerGivesEmptyText)
{
    EXPECT_EQ(StringFromWidePointer(nullptr), "");
}

TEST(SharedLibrary, IsOneInstanceLoadedOnce)
{
    MediaInfoLibrary& first = MediaInfoLibrary::Shared();
    MediaInfoLibrary& second = MediaInfoLibrary::Shared();
    EXPECT_EQ(&first, &second);
    if (!first.IsLoaded())
        GTEST_SKIP() << "libmediainfo.so.0 is not installed";
    MediaLibrary::Handle a = first.New();
    MediaLibrary::Handle b = first.New();
    EXPECT_NE(a, nullptr);
    EXPECT_NE(a, b) << "every probe gets a fresh handle";
    first.Delete(a);
    first.Delete(b);
}

TEST(SharedLibrary, AnswersAnInformTemplate)
{
    MediaInfoLibrary& library = MediaInfoLibrary::Shared();
    if (!library.IsLoaded())
        GTEST_SKIP() << "libmediainfo.so.0 is not installed";
    const std::string path = test::ClipPath(test::Clip::Mpeg4Avi);
    ASSERT_FALSE(path.empty());
    MediaLibrary::Handle handle = library.New();
    library.Option(handle, "Internet", "no");
    EXPECT_TRUE(library.Open(handle, path));
    library.Option(handle, "Inform", "Video;%Width%x%Height%");
    EXPECT_EQ(library.Inform(handle), "160x120");
    library.Close(handle);
    library.Delete(handle);
}

TEST(SharedLibrary, NullHandleCallsFailQuietly)
{
    MediaInfoLibrary& library = MediaInfoLibrary::Shared();
    library.Option(nullptr, "Inform", "General;%FileName%");
    EXPECT_FALSE(library.Open(nullptr, "/nowhere"));
    EXPECT_EQ(library.Inform(nullptr), "");
    library.Close(nullptr);
    library.Delete(nullptr);
}

} // namespace
} // namespace zantrove
