# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in the build folder packs the installed layout under /usr: the application folder in
# lib/zantrove, the two commands linked into bin/, the desktop entry and the icon.
set(CPACK_PACKAGE_NAME "zantrove")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Zantrove Developers")
set(CPACK_PACKAGE_CONTACT "Zantrove Developers <dev@zantrove.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_GENERATOR "DEB")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # zantrove_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zantrove Developers <dev@zantrove.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION "video")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# CPack puts the summary above this as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zantrove converts video files for iPod Classic, iPod Touch, iPod Nano,
iPhone and iPad with ready-made device profiles, trimming and a batch progress
window. The zantrove-cli command does the same from a terminal.")

# What no linker line shows: libmediainfo is opened at run time, ffmpeg is a program the encoder
# runs. dpkg-shlibdeps adds the versioned libraries the executables link (Qt and libgpod, which the
# library helper uses to write an iPod's database, among them); without it they are named by hand.
set(zantrove_depends libmediainfo0v5 ffmpeg)
find_program(ZANTROVE_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZANTROVE_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    list(PREPEND zantrove_depends libgpod4)
    if(ZANTROVE_DESKTOP_NOTIFICATIONS)
        list(PREPEND zantrove_depends libqt6dbus6)
    endif()
    if(ZANTROVE_BUILD_GUI)
        list(PREPEND zantrove_depends libqt6widgets6 libqt6svg6)
    endif()
endif()
list(JOIN zantrove_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)

include(CPack)
