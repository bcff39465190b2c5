# Optimised builds (the release, the Debian package, ./run's build) are built the way Debian
# builds its own programs: fortified library calls, a strong stack protector, stack clash and
# control-flow protection, read-only relocations bound at start, a position-independent
# program. The program keeps the alert's password in memory, so it gets what every other
# program on the system gets. Debug and sanitizer builds are left as they are: fortification
# needs optimisation, and the sanitizers bring their own checks.
#
# The flags come from dpkg-buildflags (package dpkg-dev), so a packager's DEB_BUILD_OPTIONS and
# DEB_*FLAGS_APPEND apply; the optimisation and debug levels stay the build type's.

option(TEMPIX_HARDEN "Build optimised builds with Debian's hardening flags" ON)

# Every build makes a position-independent program, with or without the flags below.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

string(TOUPPER "${CMAKE_BUILD_TYPE}" build_type)
if(NOT TEMPIX_HARDEN OR TEMPIX_SANITIZE OR NOT build_type MATCHES "^(RELEASE|RELWITHDEBINFO|MINSIZEREL)$")
    return()
endif()

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
    message(FATAL_ERROR "dpkg-buildflags no está: instale dpkg-dev, o configure con "
        "-DTEMPIX_HARDEN=OFF / dpkg-buildflags is missing: install dpkg-dev, or configure "
        "with -DTEMPIX_HARDEN=OFF")
endif()
set(maint_options "hardening=+all")
if(DEFINED ENV{DEB_BUILD_MAINT_OPTIONS})
    set(maint_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
endif()

function(tempix_buildflags flag out)
    # Run in the source folder: the reproducible-build file prefix map names it.
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env "DEB_BUILD_MAINT_OPTIONS=${maint_options}"
            "DEB_${flag}_MAINT_STRIP=-g -O2" "${DPKG_BUILDFLAGS}" --get ${flag}
        WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
        OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(value UNIX_COMMAND "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

tempix_buildflags(CPPFLAGS cppflags)
tempix_buildflags(CXXFLAGS cxxflags)
tempix_buildflags(LDFLAGS ldflags)

# Debian 12's dpkg does not give these two yet; later releases do, and its compiler has both.
include(CheckCXXCompilerFlag)
foreach(extra -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "have${extra}" have)
    check_cxx_compiler_flag(${extra} ${have})
    if(${have} AND NOT extra IN_LIST cxxflags)
        list(APPEND cxxflags ${extra})
    endif()
endforeach()

add_compile_options(${cppflags} ${cxxflags})
add_link_options(${ldflags})
message(STATUS "Debian's hardening flags: ${cppflags} ${cxxflags} ${ldflags}")
