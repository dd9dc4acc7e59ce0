# cmake -DTEMPLATE=page.html -DLOADER=quorbel_module.js -DSCRIPT=page.js
#       -DOUTPUT=quorbel.html -P inline_page.cmake
# Puts the module's loader (with the WebAssembly inside it) and the page's
# script into the page, so that it is one file.
file(READ ${TEMPLATE} page)
file(READ ${LOADER} loader)
file(READ ${SCRIPT} script)
foreach(part loader script)
  string(FIND "${${part}}" "</script" closing)
  if(NOT closing EQUAL -1)
    message(FATAL_ERROR "${part} holds </script, which would end its element early")
  endif()
endforeach()
string(REPLACE "@QUORBEL_LOADER@" "${loader}" page "${page}")
string(REPLACE "@QUORBEL_PAGE_SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
