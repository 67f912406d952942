// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "devices/SettingsControls.h"
#include "storage/IniFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// Readers of a device's profile file, given as read once for one operation (a device switch, a
// profile applied) or as a file name, read afresh for the one call. So an edited file counts from the
// next operation on; nothing here is kept between operations and nothing is written. A missing file
// reads as empty: no lists, no profiles, no codec facts.

// The last entry of the profile list, appended by the program; never a section of the file.
inline constexpr std::string_view kCustomProfileName = "Custom";

inline constexpr std::string_view kGeneralSection = "General";
inline constexpr std::string_view kDefaultsSection = "Defaults";
inline constexpr std::string_view kNumberOfProfilesKey = "NumberOfProfiles";
inline constexpr std::string_view kDefaultProfileKey = "DefaultProfile";
inline constexpr std::string_view kProfileNameKey = "Name";
inline constexpr std::string_view kVideoFormatKey = "VideoFormat";
inline constexpr std::string_view kExtraParametersKey = "ExtraParameters";
inline constexpr std::string_view kExtensionKey = "Extension";
inline constexpr std::string_view kMaxVideoSizeKey = "MaxVideoSize";
inline constexpr std::string_view kMaxVideoQualityKey = "MaxVideoQuality";

// One key of the codec section named by a codec box's text, "" when missing.
using ProfileLookup = std::function<std::string(std::string_view section, std::string_view key)>;
// Reads the given profile file once, when made: one lookup serves one operation, such as one start.
ProfileLookup ProfileFileLookup(std::string file);

// Cuts at every "|", keeping blanks: "" gives no entry, "a||b" three, "a|" two (the last empty).
std::vector<std::string> SplitProfileList(std::string_view value);

// "Profile" + number, without leading zeros.
std::string ProfileSectionName(int number);

// [General] NumberOfProfiles; missing or not a whole 16-bit number counts as 0.
std::int16_t ReadNumberOfProfiles(const IniFile& file);
// [General] DefaultProfile, 0-based; 0 when missing, nullopt when it is not a whole 16-bit number
// (then no profile is applied). Range is the caller's check.
std::optional<std::int16_t> ReadDefaultProfile(const IniFile& file);

// The [Defaults] list that fills the box.
std::vector<std::string> ReadDefaultsList(const IniFile& file, ChoiceBox box);

// [ProfileN] Name, "" when missing.
std::string ReadProfileName(const IniFile& file, int number);
// The index a profile gives a box: -1 (no selection) when missing, nullopt when not a whole 16-bit
// number. Whether it lies inside the list is the caller's check.
std::optional<std::int16_t> ReadProfileIndex(const IniFile& file, int number, ChoiceBox box);
// The state a profile gives a check box: 0 when missing, nullopt when not a whole 16-bit number.
std::optional<std::int16_t> ReadProfileCheck(const IniFile& file, int number, CheckBox box);

// One profile section in full, as the readers above give it key by key.
struct ProfileSection
{
    std::string name;
    std::array<std::optional<std::int16_t>, 8> indexes; // by Slot(ChoiceBox)
    std::array<std::optional<std::int16_t>, 4> checks;  // by Slot(CheckBox)
};
ProfileSection ReadProfileSection(const IniFile& file, int number);

// The section named by a codec box's text. The two limits are absent when the key is missing or not
// a whole 16-bit number; an absent limit never refuses (the selected position counts instead).
struct CodecSection
{
    std::string videoFormat;
    std::string extraParameters;
    std::string extension;
    std::optional<std::int16_t> maxVideoSize;
    std::optional<std::int16_t> maxVideoQuality;
};
CodecSection ReadCodecSection(const IniFile& file, std::string_view codec);

// What makes a profile file unusable, in words that follow its name: missing or unreadable, far
// too large, not plain text (binary, UTF-16), or without one profile whose codecs and size its lists hold.
// Read as empty, such a file would give lines with empty values. Nothing when it serves.
std::optional<std::string> ProfileFileProblem(const std::string& path);

} // namespace zantrove
