# Shared settings for every target of the project.

# Warnings and language level for one target.
function(kompendor_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()

# A static library of the core (no Qt): kompendor_core_library(name SOURCES ... LIBS ...).
# Its alias is kompendor::<name>; its include root is src/.
function(kompendor_core_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(kompendor_${name} STATIC ${ARG_SOURCES})
    add_library(kompendor::${name} ALIAS kompendor_${name})
    target_include_directories(kompendor_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(kompendor_${name} PUBLIC ${ARG_LIBS})
    kompendor_defaults(kompendor_${name})
endfunction()

# A static library with windows (Qt Widgets): same form as kompendor_core_library.
function(kompendor_ui_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(kompendor_${name} STATIC ${ARG_SOURCES})
    add_library(kompendor::${name} ALIAS kompendor_${name})
    target_include_directories(kompendor_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(kompendor_${name} PUBLIC Qt6::Widgets ${ARG_LIBS})
    kompendor_defaults(kompendor_${name})
endfunction()
