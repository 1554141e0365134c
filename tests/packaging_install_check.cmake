# Installs the built project into DEST and fails unless the programs, the
# desktop entry, the AppStream entry, the icon at every size, the manual pages,
# the bash completion, the sample files and Debian's copyright and changelog are
# in place, and the entry names a program and an icon that were installed.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${DEST}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${DEST}"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(expected
  bin/oryx bin/oryx-cli
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/man/man1/oryx.1.gz share/man/man1/oryx-cli.1.gz
  share/bash-completion/completions/oryx-cli
  share/doc/oryx/copyright share/doc/oryx/changelog.gz
  share/icons/hicolor/scalable/apps/oryx.svg
  "share/doc/oryx/examples/ORYX Reports.cfg")
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/oryx.png)
endforeach()

file(STRINGS "${DEST}/share/applications/${APP_ID}.desktop" entry REGEX "^(Exec|Icon)=")
if(NOT entry MATCHES "Exec=([^ ;]+)")
  message(FATAL_ERROR "the desktop entry has no Exec line")
endif()
list(APPEND expected bin/${CMAKE_MATCH_1})
if(NOT entry MATCHES "Icon=([^;]+)")
  message(FATAL_ERROR "the desktop entry has no Icon line")
endif()
list(APPEND expected share/icons/hicolor/scalable/apps/${CMAKE_MATCH_1}.svg)

set(missing "")
foreach(file IN LISTS expected)
  if(NOT EXISTS "${DEST}/${file}")
    string(APPEND missing "\n  ${file}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "cmake --install left out:${missing}")
endif()
