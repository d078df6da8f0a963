# Installs the build into a scratch prefix and checks what a desktop relies on: the menu entry
# starts the installed program and shows the installed icon, the software centre finds the
# menu entry, the newest release is the project version and the Debian package's, the manual
# page is there, the installed program has no library search path of its own, and both
# validators (when present) accept the files without a single remark.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${STAGE_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE_DIR}/usr
                OUTPUT_QUIET RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(share ${STAGE_DIR}/usr/share)
set(desktop ${share}/applications/${APP_ID}.desktop)
set(metainfo ${share}/metainfo/${APP_ID}.metainfo.xml)
# A plain string, not a list: validator output contains semicolons.
set(errors "")

foreach(path ${desktop} ${metainfo} ${share}/doc/sanivex-genesor/copyright
        ${STAGE_DIR}/usr/${MANDIR}/man6/sanivex-genesor.6)
  if(NOT EXISTS ${path})
    string(APPEND errors "missing ${path}\n")
  endif()
endforeach()
if(errors)
  message(FATAL_ERROR "${errors}")
endif()

file(STRINGS ${desktop} exec REGEX "^Exec=")
string(REGEX REPLACE "^Exec=([^ ]+).*" "\\1" exec "${exec}")
if(NOT exec OR NOT EXISTS ${STAGE_DIR}/usr/${BINDIR}/${exec})
  string(APPEND errors "Exec=${exec} is not an installed program in ${BINDIR}\n")
else()
  # Installing rewrites the search path, so the installed program is checked on its own.
  include(${CMAKE_CURRENT_LIST_DIR}/CheckSearchPaths.cmake)
  sanivex_check_search_paths(${READELF} ${STAGE_DIR}/usr/${BINDIR}/${exec} errors)
endif()

file(STRINGS ${desktop} icon REGEX "^Icon=")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")
set(icon_sizes scalable)
if(EXPECT_PNGS)
  list(APPEND icon_sizes 16x16 32x32 48x48 64x64 128x128 256x256)
endif()
foreach(size ${icon_sizes})
  file(GLOB found ${share}/icons/hicolor/${size}/apps/${icon}.*)
  if(NOT found)
    string(APPEND errors "Icon=${icon} has no ${size} file\n")
  endif()
endforeach()

file(READ ${metainfo} xml)
if(NOT xml MATCHES "<launchable type=\"desktop-id\">${APP_ID}\\.desktop</launchable>")
  string(APPEND errors "the metainfo does not launch ${APP_ID}.desktop\n")
endif()
string(REGEX MATCH "<release version=\"([^\"]*)\"" newest_release "${xml}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  string(APPEND errors
         "newest release in the metainfo is '${CMAKE_MATCH_1}', the project is ${VERSION}\n")
endif()
file(STRINGS ${DEBIAN_CHANGELOG} newest_entry LIMIT_COUNT 1)
if(NOT newest_entry MATCHES "^sanivex-genesor \\(${VERSION}\\) ")
  string(APPEND errors "newest debian/changelog entry '${newest_entry}' is not ${VERSION}\n")
endif()

if(DESKTOP_FILE_VALIDATE)
  # Hints count too: one about the categories means the entry lands in a catch-all menu.
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${desktop}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(result OR out)
    string(APPEND errors "desktop-file-validate: ${out}\n")
  endif()
else()
  message(STATUS "desktop-file-validate not installed: desktop entry not validated")
endif()
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net --strict ${STAGE_DIR}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(result)
    string(APPEND errors "appstreamcli validate-tree: ${out}\n")
  endif()
else()
  message(STATUS "appstreamcli not installed: metainfo not validated")
endif()

if(errors)
  message(FATAL_ERROR "${errors}")
endif()
