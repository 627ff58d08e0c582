# Build settings shared by every target of the project.

# Our own code builds without warnings; third-party code (GoogleTest) keeps its own flags.
set(QV_WARNINGS -Wall -Wextra -Werror)

# Windows executables carry their runtime: no libstdc++/libgcc/winpthread DLLs travel with them.
add_link_options(-static -static-libgcc -static-libstdc++)
# Windows APIs are called by their explicit A or W names; no UNICODE switch decides for us.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# No hot/cold function splitting: the PE linker keeps the zero-length unwind entries of empty cold
# parts, and one that shares its address with another function's cold part can hide that part
# from the unwinder, so an exception thrown there ends the program instead of reaching its handler.
add_compile_options(-fno-reorder-blocks-and-partition)

function(qv_target_defaults target)
  target_compile_options(${target} PRIVATE ${QV_WARNINGS})
endfunction()

# GoogleTest, built with the cross compiler from the sources Debian installs.
set(QV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# qv_add_test(<name> SOURCES <files...> [LIBRARIES <targets...>])
# One GoogleTest executable, registered with CTest and run under Wine. The working directory is the
# executable's own folder, so fixtures copied beside it are found by relative path.
function(qv_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  qv_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
endfunction()

# zlib, linked statically: the import library would make the programs depend on zlib1.dll.
find_library(ZLIB_LIBRARY NAMES libz.a z REQUIRED)
find_package(ZLIB REQUIRED)

# Every header is included by its path from the repository root: "platform/SysUtils.h".
add_library(qv_root INTERFACE)
target_include_directories(qv_root INTERFACE ${PROJECT_SOURCE_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/FormResource.cmake)
