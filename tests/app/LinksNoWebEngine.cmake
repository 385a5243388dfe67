# Fails when the program loads the web engine at start: only the browser's view module, loaded
# with the first browser, may bring it.
#
#   cmake -DPROGRAM=<path of kompendor> -P LinksNoWebEngine.cmake

cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ldd "${PROGRAM}" OUTPUT_VARIABLE libraries RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "ldd ${PROGRAM} failed")
endif()
if(NOT libraries MATCHES "libQt6Widgets")
    message(FATAL_ERROR "ldd ${PROGRAM} lists no Qt: not the program?\n${libraries}")
endif()
string(REGEX MATCHALL "[^\n]*(WebEngine|WebChannel)[^\n]*" engine "${libraries}")
if(engine)
    list(JOIN engine "\n" text)
    message(FATAL_ERROR "${PROGRAM} loads the web engine at start:\n${text}")
endif()
message(STATUS "${PROGRAM} starts without the web engine")
