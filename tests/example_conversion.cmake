# Runs the Tamsel executable itself on the bundled example workspace, as scripts/demo does:
# the in-process tests call runTamsel, this one covers main and the end of the process
# (under the sanitizers: no leak report from the tree left to the exit).
# Variables: TAMSEL, EXAMPLES, DESTINATION.
file(REMOVE_RECURSE "${DESTINATION}")
file(MAKE_DIRECTORY "${DESTINATION}")
execute_process(
  COMMAND "${TAMSEL}" "${EXAMPLES}/workspace/demo.mpw" "${DESTINATION}"
          -cp "${EXAMPLES}/personality/demo.p_c" -pn demo
          -mp "${EXAMPLES}/personality/demo.p_s" -ap "${EXAMPLES}/personality/demo.p_a" -ext c,h,s,a51
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Tamsel exited with ${status}:\n${output}${errors}")
endif()
if(NOT errors STREQUAL "")
  message(FATAL_ERROR "Tamsel wrote to standard error:\n${errors}")
endif()
string(FIND "${output}" "Creating Ostra/Ostra++ Project ..." started)
if(started EQUAL -1)
  message(FATAL_ERROR "No progress lines on standard output:\n${output}")
endif()
foreach(written demo.prj "demo/app/Board Rev A/person/Board Rev A.p_a" person/demo.p_a)
  if(NOT EXISTS "${DESTINATION}/${written}")
    message(FATAL_ERROR "Not written: ${written}\n${output}")
  endif()
endforeach()
file(READ "${DESTINATION}/demo.prj" project HEX LIMIT 24)
if(NOT project MATCHES "^56657273696f6e5461673435")  # "VersionTag45"
  message(FATAL_ERROR "demo.prj does not start with VersionTag45")
endif()
