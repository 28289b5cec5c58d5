# Installs the build into a fresh prefix and checks what a desktop gets: the
# program, the menu entry, the icons, the type of plot files and the
# AppStream description, each accepted by its validator.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(id io.github.grafiki.Plotter)
set(expected
  bin/plotter
  share/applications/${id}.desktop
  share/metainfo/${id}.metainfo.xml
  share/mime/packages/${id}.xml
  share/icons/hicolor/scalable/apps/${id}.svg)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${id}.png)
endforeach()
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
execute_process(COMMAND test -x ${PREFIX}/bin/plotter RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "bin/plotter is not executable")
endif()

function(check what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} refused:\n${out}")
  endif()
  message(STATUS "${what}: accepted")
endfunction()
check("desktop-file-validate" desktop-file-validate
      ${PREFIX}/share/applications/${id}.desktop)
check("appstreamcli validate" appstreamcli validate --no-net --pedantic
      ${PREFIX}/share/metainfo/${id}.metainfo.xml)
# The file type: the database built from the installed package maps *.mth to it.
check("update-mime-database" update-mime-database ${PREFIX}/share/mime)
file(READ ${PREFIX}/share/mime/globs2 globs)
if(NOT globs MATCHES "application/x-plotter-mth:\\*\\.mth\n" OR
   NOT globs MATCHES "application/x-plotter-mthx:\\*\\.mthx")
  message(FATAL_ERROR "*.mth or *.mthx is not a plot file in the built database:\n${globs}")
endif()
file(READ ${PREFIX}/share/mime/subclasses subclasses)
if(NOT subclasses MATCHES "application/x-plotter-mthx application/json")
  message(FATAL_ERROR "a document is no JSON in the built database:\n${subclasses}")
endif()
# Double-clicking a plot file: the entry opens the type with the file as its
# argument, and in a desktop that reads the prefix (and nothing of this
# machine's own settings) the type's default application is our entry.
file(READ ${PREFIX}/share/applications/${id}.desktop entry)
if(NOT entry MATCHES "\nExec=plotter %f\n" OR
   NOT entry MATCHES "\nMimeType=application/x-plotter-mth;application/x-plotter-mthx;\n")
  message(FATAL_ERROR "the entry does not open plot files:\n${entry}")
endif()
check("update-desktop-database" update-desktop-database ${PREFIX}/share/applications)
set(home ${PREFIX}/../install-check-home)
file(REMOVE_RECURSE ${home})
file(MAKE_DIRECTORY ${home})
foreach(type application/x-plotter-mth application/x-plotter-mthx)
  execute_process(
    COMMAND env -i PATH=/usr/bin:/bin HOME=${home} XDG_DATA_HOME=${home}/data
            XDG_CONFIG_HOME=${home}/config XDG_DATA_DIRS=${PREFIX}/share
            xdg-mime query default ${type}
    RESULT_VARIABLE rc OUTPUT_VARIABLE default ERROR_VARIABLE err OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT rc EQUAL 0 OR NOT default STREQUAL "${id}.desktop")
    message(FATAL_ERROR "xdg-mime names '${default}' for ${type} (${rc}): ${err}")
  endif()
  message(STATUS "xdg-mime: ${type} opens with ${default}")
endforeach()
# Each PNG is of the size its folder names.
foreach(size 16 32 48 64 128 256)
  file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${id}.png head LIMIT 24 HEX)
  string(SUBSTRING ${head} 32 8 wpart)
  string(SUBSTRING ${head} 40 8 hpart)
  math(EXPR w "0x${wpart}")
  math(EXPR h "0x${hpart}")
  if(NOT w EQUAL size OR NOT h EQUAL size)
    message(FATAL_ERROR "the ${size}x${size} icon is ${w}x${h}")
  endif()
endforeach()
