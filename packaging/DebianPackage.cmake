# Settings for `cpack -G DEB`: one package, sanivex-genesor, that installs like any other
# program from the Debian archive.

# The software-centre metadata announces three-part versions, so the package uses them too.
set(CPACK_PACKAGE_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(CPACK_PACKAGE_VERSION_MINOR ${PROJECT_VERSION_MINOR})
if(PROJECT_VERSION_PATCH STREQUAL "")
  set(CPACK_PACKAGE_VERSION_PATCH 0)
else()
  set(CPACK_PACKAGE_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()
set(CPACK_PACKAGE_VERSION
    ${CPACK_PACKAGE_VERSION_MAJOR}.${CPACK_PACKAGE_VERSION_MINOR}.${CPACK_PACKAGE_VERSION_PATCH})

set(SANIVEX_PACKAGE_MAINTAINER "Sanivex - Genesor contributors <maintainers@sanivex.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sanivex-genesor)
set(CPACK_PACKAGE_VENDOR "Sanivex - Genesor contributors")
set(CPACK_PACKAGE_CONTACT ${SANIVEX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "healing and medical-care calculator for a tabletop role-playing game")
set(CPACK_PACKAGE_DESCRIPTION
    "A German-language desktop calculator for the healing and medical-care rules\n"
    "of a cyberpunk tabletop role-playing game, for the game master or a player\n"
    "at the table. It heals one damage box per press, lists every modifier, rolls\n"
    "open-ended six-sided dice and shows healing time, total time and hospital\n"
    "cost. It also finds a doctor for planned surgery or in an emergency.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/\\\\.cache/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SANIVEX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window layout was measured with Liberation Sans; a font is loaded by name at run time, so
# dpkg-shlibdeps cannot see this dependency.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
