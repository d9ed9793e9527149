# Runs GENERATOR into the folder OUTPUT and fails unless every file it writes
# equals the file of the same name in EXPECTED (resources/icons), and EXPECTED
# holds no icon file the generator no longer writes.
file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE written)
if(NOT written EQUAL 0)
  message(FATAL_ERROR "posewright-icongen failed")
endif()
file(GLOB generated RELATIVE ${OUTPUT} ${OUTPUT}/*)
file(GLOB committed RELATIVE ${EXPECTED} ${EXPECTED}/*)
if(NOT generated STREQUAL committed)
  message(FATAL_ERROR "resources/icons holds ${committed}, the generator writes ${generated}; regenerate it")
endif()
foreach(name ${generated})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT}/${name} ${EXPECTED}/${name}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "resources/icons/${name} differs from the generator's output; regenerate it")
  endif()
endforeach()
