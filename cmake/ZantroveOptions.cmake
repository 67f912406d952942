# SPDX-License-Identifier: GPL-3.0-or-later
# One interface target carries the language level and warnings for every target of the project.
add_library(zantrove_options INTERFACE)
target_compile_features(zantrove_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(zantrove_options INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
        -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough>)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

# zantrove_core_library(NAME SOURCES...): a window-free static library of the core.
function(zantrove_core_library name)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC zantrove_options)
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# zantrove_install_command(TARGET): installs a program into the application folder and links it into
# bin/, so the folder is found from wherever it lives.
function(zantrove_install_command target)
    install(TARGETS ${target} DESTINATION "${ZANTROVE_INSTALL_APP_DIR}")
    install(CODE "
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(CREATE_LINK \"../${ZANTROVE_INSTALL_APP_DIR}/${target}\"
             \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${target}\" SYMBOLIC)")
endfunction()
