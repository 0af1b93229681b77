# Makes the template database of a test run afresh.
file(REMOVE "${FILE}")
execute_process(COMMAND "${TOOL}" "${FILE}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "kelmara-criar-banco failed (${rc})")
endif()
