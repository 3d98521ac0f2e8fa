# Checks the man pages as they are installed: groff finds nothing to warn about, and the
# synopsis of Tamsel.1 is, line for line, the usage text that Tamsel prints.
# Variables: TAMSEL, GROFF, PAGES (the pages, Tamsel.1 first).
if(NOT GROFF)
  message(FATAL_ERROR "groff was not found (Debian package groff-base): the man pages cannot be checked")
endif()

foreach(page IN LISTS PAGES)
  execute_process(COMMAND "${GROFF}" -ww -man -z "${page}" RESULT_VARIABLE status ERROR_VARIABLE warnings)
  if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "groff warns about ${page}:\n${warnings}")
  endif()
endforeach()

# Fewer than three arguments: the usage text.
execute_process(COMMAND "${TAMSEL}" OUTPUT_VARIABLE usage)
string(REGEX REPLACE "^Usage: " "" usage "${usage}")

# The page as man shows it, as plain text; the synopsis runs up to the next blank line.
list(GET PAGES 0 page)
execute_process(COMMAND "${GROFF}" -man -Tascii -P-cbou "${page}" OUTPUT_VARIABLE text)
if(NOT text MATCHES "\nSYNOPSIS\n(([^\n]+\n)+)\n")
  message(FATAL_ERROR "No SYNOPSIS section in ${page}:\n${text}")
endif()
string(REGEX REPLACE "(^|\n) +" "\\1" synopsis "${CMAKE_MATCH_1}")
if(NOT synopsis STREQUAL usage)
  message(FATAL_ERROR "The synopsis of ${page}:\n${synopsis}differs from the usage text:\n${usage}")
endif()
