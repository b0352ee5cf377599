# Runs PROGRAM, with ARGUMENTS where given, with INPUT on its standard input and compares what it writes,
# byte for byte, with EXPECTED, a UTF-8 transcript; with ENCODING gbk, with
# the GBK bytes of EXPECTED. The session must end with status 0.
get_filename_component(actual_dir ${ACTUAL} DIRECTORY)
file(MAKE_DIRECTORY ${actual_dir})
execute_process(
  COMMAND ${PROGRAM} ${ARGUMENTS}
  INPUT_FILE ${INPUT}
  OUTPUT_FILE ${ACTUAL}
  RESULT_VARIABLE status
  TIMEOUT 20)
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "tavoro ended with status '${status}', not 0")
endif()
if(ENCODING STREQUAL "gbk")
  execute_process(COMMAND iconv -f UTF-8 -t GBK ${EXPECTED} OUTPUT_FILE ${ACTUAL}.expected
                  COMMAND_ERROR_IS_FATAL ANY)
  set(EXPECTED ${ACTUAL}.expected)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${ACTUAL}
                RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u ${EXPECTED} ${ACTUAL})
  message(FATAL_ERROR "output differs from ${EXPECTED}")
endif()
