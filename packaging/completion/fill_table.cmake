# Puts the client's table of commands and options into the completion script:
#   cmake -DCLI=qrv470kse-cli -DTEMPLATE=qrv470kse-cli.in -DOUTPUT=qrv470kse-cli -P fill_table.cmake
execute_process(COMMAND ${CLI} --completion-table OUTPUT_VARIABLE table RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --completion-table failed (${status})")
endif()
file(READ ${TEMPLATE} script)
string(REPLACE "@TABLE@\n" "${table}" script "${script}")
file(WRITE ${OUTPUT} "${script}")
