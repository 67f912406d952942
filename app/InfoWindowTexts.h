// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace zantrove {

// The fixed texts of the about, error and translation windows.
inline constexpr std::string_view kAboutTitle = "About Zantrove";
inline constexpr std::string_view kAboutSubtitle = "View program and version information...";
inline constexpr std::string_view kAboutLegalNotice =
    "Copyright © Quelmar. Free software under the GNU GPL, version 3 or later.";
inline constexpr std::string_view kAboutContactFrame = "Contact Information";
inline constexpr std::string_view kAboutEMailCaption = "E-Mail Address:";
inline constexpr std::string_view kAboutWebsiteCaption = "Website Address:";
inline constexpr std::string_view kAboutCreditsCaption = "&Credits";

inline constexpr std::string_view kErrorTitle = "Error Log";
inline constexpr std::string_view kErrorSubtitle = "The following errors occurred...";

inline constexpr std::string_view kTranslateTitle = "Translate text";
inline constexpr std::string_view kTranslateNote = "In the window below, you will find a translation of the "
                                                   "wizard text. This is meant as an extra for those "
                                                   "people who don't understand English very well.";

inline constexpr std::string_view kInfoCloseCaption = "&Close";

} // namespace zantrove
