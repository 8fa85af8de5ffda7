# What the script tests share (CheckDesigner, CheckInstall, CheckPrograms,
# RunExamples), included at their start:
#   require_variables(SCRIPT VAR...)  stops the script when a variable is not set
#   fail(TEXT)                        reports a problem and counts it in `errors`
#   run(COMMAND...)                   runs a command in WORK_DIR; sets rc, out and err
#   expect_rc(EXPECTED WHAT)          fails unless the last run exited with EXPECTED
set(errors 0)

function(require_variables script)
  foreach(var ${ARGN})
    if(NOT ${var})
      message(FATAL_ERROR "${script}: ${var} is not set")
    endif()
  endforeach()
endfunction()

macro(fail text)
  message(SEND_ERROR "${text}")
  math(EXPR errors "${errors} + 1")
endmacro()

macro(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK_DIR}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
endmacro()

macro(expect_rc expected what)
  if(NOT "${rc}" STREQUAL "${expected}")
    fail("${what}: exit ${rc}, expected ${expected}\nstdout: ${out}\nstderr: ${err}")
  endif()
endmacro()
