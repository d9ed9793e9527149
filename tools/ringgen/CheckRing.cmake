# Runs GENERATOR to write OUTPUT and fails unless it equals EXPECTED (the
# committed resources/ring.x).
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE written)
if(NOT written EQUAL 0)
  message(FATAL_ERROR "posewright-ringgen failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${EXPECTED} RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "${EXPECTED} differs from the generator's output; regenerate it")
endif()
