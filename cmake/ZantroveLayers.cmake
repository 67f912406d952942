# SPDX-License-Identifier: GPL-3.0-or-later
# The top folders are layers, bottom first. Code includes from the source root ("media/X.h"), but a
# target sees only its own layer and those below it: its include root is a folder in the build tree
# holding links named after exactly those source folders, so an upward include is "No such file".
# A target's layer is the top folder it is defined in; tests/ and bench/ see the whole tree.
set(ZANTROVE_LAYERS base platform storage devices media conversion trim tools app cli ui)
set(ZANTROVE_LAYER_ROOTS "${CMAKE_BINARY_DIR}/layers")

# Symbolic links to folders need a privilege on Windows and a copy would go stale, so there a
# junction is made instead.
function(zantrove_link_folder link target)
    if(IS_SYMLINK "${link}")
        file(READ_SYMLINK "${link}" current)
        if(current STREQUAL target)
            return()
        endif()
        file(REMOVE "${link}")
    endif()
    file(CREATE_LINK "${target}" "${link}" SYMBOLIC RESULT status)
    if(NOT status EQUAL 0 AND WIN32)
        file(TO_NATIVE_PATH "${link}" native_link)
        file(TO_NATIVE_PATH "${target}" native_target)
        execute_process(COMMAND cmd /c mklink /J "${native_link}" "${native_target}"
                        RESULT_VARIABLE status OUTPUT_QUIET)
    endif()
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "Cannot link ${link} to ${target}: ${status}")
    endif()
endfunction()

# Makes <build>/layers/<layer>/ for every layer, holding links to the folders it may include from.
function(zantrove_make_layer_roots)
    set(allowed)
    foreach(layer IN LISTS ZANTROVE_LAYERS)
        list(APPEND allowed ${layer})
        set(root "${ZANTROVE_LAYER_ROOTS}/${layer}")
        file(MAKE_DIRECTORY "${root}")
        # A layer that moved up in the order must lose its link here.
        file(GLOB present LIST_DIRECTORIES true RELATIVE "${root}" "${root}/*")
        foreach(name IN LISTS present)
            if(NOT name IN_LIST allowed)
                file(REMOVE "${root}/${name}")
            endif()
        endforeach()
        foreach(name IN LISTS allowed)
            zantrove_link_folder("${root}/${name}" "${PROJECT_SOURCE_DIR}/${name}")
        endforeach()
    endforeach()
endfunction()

# Gives every compiled target below <dir> the include root of its layer.
function(zantrove_apply_layers dir)
    get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            continue()
        endif()
        get_target_property(source_dir ${target} SOURCE_DIR)
        file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}" "${source_dir}")
        string(REGEX REPLACE "/.*" "" layer "${folder}")
        if(layer STREQUAL "tests" OR layer STREQUAL "bench")
            target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}")
        elseif(layer IN_LIST ZANTROVE_LAYERS)
            target_include_directories(${target} PRIVATE "${ZANTROVE_LAYER_ROOTS}/${layer}")
        else()
            message(FATAL_ERROR "${target} is defined in '${folder}', which is no layer: add it to "
                                "ZANTROVE_LAYERS in cmake/ZantroveLayers.cmake")
        endif()
    endforeach()
    get_property(subdirectories DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        zantrove_apply_layers("${subdirectory}")
    endforeach()
endfunction()

zantrove_make_layer_roots()
