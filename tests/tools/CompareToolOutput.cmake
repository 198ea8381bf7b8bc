# Runs TOOL with ARGS (the arguments joined by "|") and fails unless it exits 0
# and prints exactly the content of EXPECTED.
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(COMMAND ${TOOL} ${ARGS}
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  string(REPLACE ";" " " ARGS "${ARGS}")
  message(FATAL_ERROR "${TOOL} ${ARGS} exited with ${status}: ${errors}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  string(REPLACE ";" " " ARGS "${ARGS}")
  message(FATAL_ERROR "${TOOL} ${ARGS} printed:\n${actual}\nexpected (${EXPECTED}):\n${expected}")
endif()
