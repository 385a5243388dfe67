# Checks the layering of src/ (docs/ARCHITECTURE.md): every folder includes only folders of
# lower layers, nothing below src/mainwnd includes "app/..." or calls TheApp(), and the
# libraries below src/mainwnd do not link the application's libraries.
#
#   cmake -DSOURCE_DIR=<tree with src/> -P CheckLayers.cmake
#
# Prints every breach as file:line and fails when there is one.

cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckLayers.cmake: SOURCE_DIR not given")
endif()

# The layers from the bottom up. A folder may include its own headers and those of every
# folder before it in this list. The stand-alone modules include nothing of the program; each
# is used from one folder upwards: vmap, the world map renderer, from the map window
# (src/map), webview, the browser's view, from the browser wrapper (src/text).
set(layers noxctrls platform data archive controls viewers text table map mainwnd)
set(standalone vmap webview)
set(standalone_users map text)
# The only headers of app/ the main window reads: those of the core libraries there (the
# settings record, the registry, the start-up checks), never the application object's.
set(mainwnd_app_headers "app/Settings.h" "app/Registry.h" "app/Startup.h")

set(breaches "")

function(check_folder folder allowed)
    file(GLOB_RECURSE files "${SOURCE_DIR}/src/${folder}/*.h" "${SOURCE_DIR}/src/${folder}/*.cpp")
    foreach(file IN LISTS files)
        file(STRINGS "${file}" lines)
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${file}")
        set(number 0)
        foreach(line IN LISTS lines)
            math(EXPR number "${number} + 1")
            if(line MATCHES "TheApp\\(")
                list(APPEND breaches "${shown}:${number}: calls TheApp() (hand in what it needs)")
            endif()
            if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([a-z_]+)/([^\"]*)\"")
                continue()
            endif()
            set(target "${CMAKE_MATCH_1}")
            set(header "${CMAKE_MATCH_1}/${CMAKE_MATCH_2}")
            if(target IN_LIST allowed)
                continue()
            endif()
            if(folder STREQUAL "mainwnd" AND header IN_LIST mainwnd_app_headers)
                continue()
            endif()
            list(APPEND breaches "${shown}:${number}: includes \"${header}\" from below")
        endforeach()
    endforeach()
    # The folder's libraries must not link what lies above it.
    if(EXISTS "${SOURCE_DIR}/src/${folder}/CMakeLists.txt" AND NOT folder STREQUAL "mainwnd")
        file(STRINGS "${SOURCE_DIR}/src/${folder}/CMakeLists.txt" lines)
        foreach(line IN LISTS lines)
            if(line MATCHES "kompendor::(app|startup|settings|mainwnd)([ \t)]|$)")
                list(APPEND breaches
                     "src/${folder}/CMakeLists.txt: links kompendor::${CMAKE_MATCH_1} from below")
            endif()
        endforeach()
    endif()
    set(breaches "${breaches}" PARENT_SCOPE)
endfunction()

set(below "")
foreach(folder IN LISTS layers)
    foreach(module user IN ZIP_LISTS standalone standalone_users)
        if(folder STREQUAL user)
            list(APPEND below ${module})
        endif()
    endforeach()
    check_folder(${folder} "${below};${folder}")
    list(APPEND below ${folder})
endforeach()
foreach(folder IN LISTS standalone)
    check_folder(${folder} "${folder}")
endforeach()

if(breaches)
    list(JOIN breaches "\n" text)
    message(FATAL_ERROR "Layering of src/ broken (see docs/ARCHITECTURE.md):\n${text}")
endif()
message(STATUS "Layering of src/ holds")
