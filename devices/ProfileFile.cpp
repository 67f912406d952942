// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/ProfileFile.h"

#include "base/TextUtilities.h"
#include "storage/IniFile.h"

#include <cerrno>
#include <cstring>
#include <memory>

namespace zantrove {

namespace {
std::optional<std::int16_t> ReadNumber(std::string_view section, std::string_view key,
                                       std::string_view defaultValue, const IniFile& file)
{
    return ParseInt16(file.Value(section, key, defaultValue));
}
} // namespace

namespace {
bool Selects(const IniFile& file, int number, ChoiceBox box)
{
    const auto index = ReadProfileIndex(file, number, box);
    return index && *index >= 0 && static_cast<std::size_t>(*index) < ReadDefaultsList(file, box).size();
}

bool Checked(const IniFile& file, int number, CheckBox box)
{
    return ReadProfileCheck(file, number, box).value_or(0) == 1;
}
} // namespace

std::optional<std::string> ProfileFileProblem(const std::string& path)
{
    const IniFile file(path);
    if (const int error = file.OpenError())
        return error == ENOENT ? std::string("is missing")
                               : "cannot be read (" + std::string(std::strerror(error)) + ")";
    if (const auto oversize = file.OversizeBytes())
        return "is " + FormatByteSize(*oversize) + ", far larger than any profile file, and was not read";
    // UTF-16 has a NUL byte in every character of plain letters.
    if (file.HoldsNul())
        return std::string("is not plain text (binary or UTF-16)");
    const int count = ReadNumberOfProfiles(file);
    for (int number = 1; number <= count; ++number) {
        const bool audio =
            Checked(file, number, CheckBox::AudioNoAudio) || Selects(file, number, ChoiceBox::AudioCodec);
        const bool video =
            Checked(file, number, CheckBox::VideoNoVideo) ||
            (Selects(file, number, ChoiceBox::VideoCodec) && Selects(file, number, ChoiceBox::VideoSize));
        if (audio && video)
            return std::nullopt;
    }
    return std::string("holds no valid profile");
}

ProfileLookup ProfileFileLookup(std::string file)
{
    auto read = std::make_shared<const IniFile>(file);
    return [read = std::move(read)](std::string_view section, std::string_view key) {
        return read->Value(section, key, "");
    };
}

std::vector<std::string> SplitProfileList(std::string_view value)
{
    std::vector<std::string> entries;
    if (value.empty())
        return entries;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = value.find('|', start);
        if (bar == std::string_view::npos) {
            entries.emplace_back(value.substr(start));
            return entries;
        }
        entries.emplace_back(value.substr(start, bar - start));
        start = bar + 1;
    }
}

std::string ProfileSectionName(int number)
{
    return "Profile" + std::to_string(number);
}

std::int16_t ReadNumberOfProfiles(const IniFile& file)
{
    return ReadNumber(kGeneralSection, kNumberOfProfilesKey, "0", file).value_or(0);
}

std::optional<std::int16_t> ReadDefaultProfile(const IniFile& file)
{
    return ReadNumber(kGeneralSection, kDefaultProfileKey, "0", file);
}

std::vector<std::string> ReadDefaultsList(const IniFile& file, ChoiceBox box)
{
    return SplitProfileList(file.Value(kDefaultsSection, ProfileKey(box), ""));
}

std::string ReadProfileName(const IniFile& file, int number)
{
    return file.Value(ProfileSectionName(number), kProfileNameKey, "");
}

std::optional<std::int16_t> ReadProfileIndex(const IniFile& file, int number, ChoiceBox box)
{
    return ReadNumber(ProfileSectionName(number), ProfileKey(box), "-1", file);
}

std::optional<std::int16_t> ReadProfileCheck(const IniFile& file, int number, CheckBox box)
{
    return ReadNumber(ProfileSectionName(number), ProfileKey(box), "0", file);
}

ProfileSection ReadProfileSection(const IniFile& file, int number)
{
    ProfileSection section;
    section.name = ReadProfileName(file, number);
    for (ChoiceBox box : kChoiceBoxes)
        section.indexes[Slot(box)] = ReadProfileIndex(file, number, box);
    for (CheckBox box : kCheckBoxes)
        section.checks[Slot(box)] = ReadProfileCheck(file, number, box);
    return section;
}

CodecSection ReadCodecSection(const IniFile& file, std::string_view codec)
{
    CodecSection section;
    section.videoFormat = file.Value(codec, kVideoFormatKey, "");
    section.extraParameters = file.Value(codec, kExtraParametersKey, "");
    section.extension = file.Value(codec, kExtensionKey, "");
    section.maxVideoSize = ReadNumber(codec, kMaxVideoSizeKey, "", file);
    section.maxVideoQuality = ReadNumber(codec, kMaxVideoQualityKey, "", file);
    return section;
}

} // namespace zantrove
