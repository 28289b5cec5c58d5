# Fails when a file of src/<library>/ includes a header of a library that the
# layering does not let it use.
cmake_policy(SET CMP0057 NEW) # IN_LIST
set(allowed_texts texts)
set(allowed_engine engine texts)
set(allowed_document document texts)
set(allowed_plot2d plot2d engine document texts)
set(allowed_geometry3d geometry3d engine document texts)
set(allowed_animation animation engine document texts)
set(allowed_analysis analysis engine document texts)
set(allowed_model model plot2d geometry3d animation analysis engine document texts)
set(allowed_view3d view3d geometry3d animation engine document texts)
set(allowed_app app model view3d plot2d geometry3d animation analysis engine document texts)

# Every include of `file` that matches `pattern` is a failure.
macro(forbid pattern)
  file(STRINGS ${file} found REGEX "${pattern}")
  foreach(line IN LISTS found)
    list(APPEND failures "${file}: ${line}")
  endforeach()
endmacro()

set(libraries texts engine document plot2d geometry3d animation analysis model view3d app)
set(failures "")
foreach(library IN LISTS libraries)
  file(GLOB_RECURSE files ${SOURCE_DIR}/${library}/*.h ${SOURCE_DIR}/${library}/*.cpp
       ${SOURCE_DIR}/${library}/*.inc)
  foreach(file IN LISTS files)
    file(STRINGS ${file} lines REGEX "^#include \"")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "^#include \"([a-z0-9]+)/" _ "${line}")
      set(used ${CMAKE_MATCH_1})
      set(allowed ${allowed_${library}})
      if(used AND NOT used IN_LIST allowed)
        list(APPEND failures "${file}: ${line}")
      endif()
    endforeach()
    # Only view3d may speak OpenGL.
    if(NOT library STREQUAL "view3d")
      forbid("^#include <(GL/|QOpenGL)")
    endif()
    # Below the windows, no widget: the window and the command line share
    # this path.
    if(library MATCHES "^(plot2d|model)$")
      forbid("^#include <(QtWidgets|QWidget|QApplication|QDialog|QMainWindow|QLineEdit|QComboBox|QCheckBox|QRadioButton|QPushButton|QLabel|QAction|QMenu|QMessageBox|QFileDialog)")
    endif()
    # Plain C++ libraries use no Qt at all.
    if(library MATCHES "^(texts|engine|document|geometry3d|animation|analysis)$")
      forbid("^#include <Q")
    endif()
  endforeach()
endforeach()
if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "Includes across the layers:\n${text}")
endif()
message(STATUS "Layering holds")
