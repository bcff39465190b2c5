# Run by CPack before it makes the package (CPACK_PRE_BUILD_SCRIPTS), or by hand:
#   cmake -DCPACK_PACKAGE_VERSION=4.0.55 -DCPACK_TEMPIX_PACKAGING_DIR=packaging -P check-versions.cmake
# The package's version is the project's. The newest change-log entry and the newest AppStream
# release must name it too: they are history that only a person can write, so a version bumped
# without them stops the package here instead of shipping the notes of another version.

set(version "${CPACK_PACKAGE_VERSION}")
set(dir "${CPACK_TEMPIX_PACKAGING_DIR}")
set(mismatches "")

file(STRINGS "${dir}/changelog" heads REGEX "^[a-z0-9][a-z0-9.+-]* \\(")
set(logged "(ninguna / none)")
if(heads)
    list(GET heads 0 head)
    string(REGEX REPLACE "^[^ ]+ \\(([^)]*)\\).*" "\\1" logged "${head}")
endif()
if(NOT logged STREQUAL version)
    string(APPEND mismatches "\n  packaging/changelog: la entrada más reciente es la ${logged}; "
        "escriba encima una entrada ${version} / the newest entry is ${logged}; add a ${version} "
        "entry at the top")
endif()

file(READ "${dir}/es.nodavia.tempix.metainfo.xml" metainfo)
# AppStream lists releases newest first.
set(released "(ninguna / none)")
if(metainfo MATCHES "<release [^>]*version=\"([^\"]*)\"")
    set(released "${CMAKE_MATCH_1}")
endif()
if(NOT released STREQUAL version)
    string(APPEND mismatches "\n  packaging/es.nodavia.tempix.metainfo.xml: la versión más "
        "reciente es la ${released}; añada encima <release version=\"${version}\"> con sus notas / "
        "the newest release is ${released}; add a <release version=\"${version}\"> with its "
        "notes first")
endif()

if(mismatches)
    message(FATAL_ERROR "El paquete es la versión ${version} (project() en CMakeLists.txt) / "
        "the package is version ${version} (project() in CMakeLists.txt), pero / but:${mismatches}")
endif()
