# SPDX-License-Identifier: GPL-3.0-or-later
# ZANTROVE_FUZZ builds the libFuzzer targets of tests/fuzz. Every library they use has to carry the
# coverage hooks and the sanitizers too, so the flags apply to the whole build; such a build is for
# fuzzing only.
option(ZANTROVE_FUZZ "Build the libFuzzer targets (clang only; instruments the whole build)" OFF)
if(ZANTROVE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "ZANTROVE_FUZZ needs clang++ (libFuzzer); configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
