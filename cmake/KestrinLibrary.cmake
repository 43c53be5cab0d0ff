# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

# One static library per source folder, linked in the direction of the layers:
#   res <- platform <- platform web <- browser
#   platform <- favorites engine <- favorites/ui, catalog data <- linkcheck <- catalog
#   everything <- frame <- app
# A library publishes only the headers it lists, under their folder's name
# ("favorites/CFavoritesStore.h"), in an include folder of its own. A file therefore sees
# the headers of the libraries it links and of no other: an include that reaches up the
# layers does not build.

set(KESTRIN_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
set(KESTRIN_DEFINITIONS QT_NO_CAST_FROM_ASCII QT_NO_URL_CAST_FROM_STRING)

# kestrin_add_library(<target> <sources and headers...>)
function(kestrin_add_library target)
    add_library(${target} STATIC ${ARGN})
    target_compile_options(${target} PRIVATE ${KESTRIN_WARNINGS})
    target_compile_definitions(${target} PRIVATE ${KESTRIN_DEFINITIONS})
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    file(REMOVE_RECURSE ${root})
    foreach(source IN LISTS ARGN)
        if(NOT source MATCHES "\\.h$")
            continue()
        endif()
        get_filename_component(absolute ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${absolute})
        get_filename_component(folder ${root}/${relative} DIRECTORY)
        file(MAKE_DIRECTORY ${folder})
        file(CREATE_LINK ${absolute} ${root}/${relative} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
