# Makes the user's guide as a web page from the README: the part from
# "# User's guide" up to "# Contributing", with its pictures beside it.
#   cmake -DREADME=... -DDOCS=... -DOUT=<folder> -DCMARK=cmark-gfm -P guide.cmake
file(READ ${README} readme)
string(FIND "${readme}" "# User's guide" from)
string(FIND "${readme}" "\n# Contributing" to)
if(from EQUAL -1 OR to EQUAL -1)
  message(FATAL_ERROR "the README has no user's guide between its headings")
endif()
math(EXPR length "${to} - ${from}")
string(SUBSTRING "${readme}" ${from} ${length} guide)
file(MAKE_DIRECTORY ${OUT})
file(WRITE ${OUT}/guide.md "${guide}")
execute_process(COMMAND ${CMARK} --extension table ${OUT}/guide.md
                OUTPUT_VARIABLE body RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmark-gfm failed")
endif()
file(WRITE ${OUT}/index.html "<!DOCTYPE html>
<html lang=\"ru\"><head><meta charset=\"utf-8\">
<title>Графики функций — руководство</title>
<style>body{font-family:sans-serif;max-width:60em;margin:2em auto;padding:0 1em;line-height:1.4}
img{max-width:100%}table{border-collapse:collapse}td,th{border:1px solid #ccc;padding:.2em .5em}
code{background:#f4f4f4}</style></head><body>
${body}</body></html>
")
file(REMOVE ${OUT}/guide.md)
file(GLOB pictures ${DOCS}/*.png)
file(COPY ${pictures} DESTINATION ${OUT}/docs)
file(GLOB pictures200 ${DOCS}/200/*.png)
file(COPY ${pictures200} DESTINATION ${OUT}/docs/200)
