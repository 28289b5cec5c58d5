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
if(NOT globs MATCHES "application/x-plotter-mth:\\*\\.mth")
  message(FATAL_ERROR "*.mth is not a plot file in the built database:\n${globs}")
endif()
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
