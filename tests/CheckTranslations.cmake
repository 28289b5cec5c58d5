# The English translation is complete and up to date: lupdate, run over the
# sources into a copy of the translation file, finds no text that the file
# lacks and none that the sources no longer have, and no entry is left
# unfinished.
#   -DLUPDATE=... -DTS_FILE=... -DSOURCE_DIR=... -DWORK_DIR=... -DOPTIONS=a;b;c
file(GLOB_RECURSE sources ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
list(SORT sources)
file(MAKE_DIRECTORY ${WORK_DIR})
set(copy ${WORK_DIR}/check.ts)
configure_file(${TS_FILE} ${copy} COPYONLY)
execute_process(COMMAND ${LUPDATE} ${OPTIONS} ${sources} -ts ${copy}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${status}):\n${out}\n${err}")
endif()
file(READ ${TS_FILE} before)
file(READ ${copy} after)
if(NOT before STREQUAL after)
  execute_process(COMMAND diff -u ${TS_FILE} ${copy} OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "The translation file is not the sources' (run the update_translations "
                      "target and translate what is new):\n${out}\n${difference}")
endif()
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" unfinished
       "${after}")
list(LENGTH unfinished count)
if(NOT count EQUAL 0)
  message(FATAL_ERROR "${count} texts are not translated:\n${unfinished}")
endif()
string(REGEX MATCHALL "<message>" messages "${after}")
list(LENGTH messages count)
message(STATUS "${count} texts, every one translated")
