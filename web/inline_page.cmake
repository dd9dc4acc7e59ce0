# cmake -DTEMPLATE=page.html -DLOADER=quorbel_module.js -DSCRIPT=page.js
#       -DLICENCE=LICENSE -DOUTPUT=quorbel.html -P inline_page.cmake
# Puts the module's loader (with the WebAssembly inside it) and the page's
# script into the page, so that it is one file, and the licence, which must
# go with every copy of that file: whole in a comment, its copyright line
# in the settings panel.
file(READ ${TEMPLATE} page)
file(READ ${LOADER} loader)
file(READ ${SCRIPT} script)
file(READ ${LICENCE} licence)
string(STRIP "${licence}" licence)
if(licence MATCHES "--")
  message(FATAL_ERROR "the licence holds --, which an HTML comment cannot")
endif()
string(REGEX MATCH "Copyright [^\n]*" copyright "${licence}")
if(NOT copyright)
  message(FATAL_ERROR "no copyright line in ${LICENCE}")
endif()
foreach(part loader script)
  string(FIND "${${part}}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "${part} holds </script, which would end its element early")
  endif()
endforeach()
string(REPLACE "@QUORBEL_LICENCE@" "${licence}" page "${page}")
string(REPLACE "@QUORBEL_COPYRIGHT@" "${copyright}" page "${page}")
string(REPLACE "@QUORBEL_LOADER@" "${loader}" page "${page}")
string(REPLACE "@QUORBEL_PAGE_SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
