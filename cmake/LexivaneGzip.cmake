# gzip -9n: the best compression and no time stamp, as Debian's policy asks
# of manual pages and changelogs. Configure-time; the input is a configure
# dependency, so an edit is compressed again.
function(lexivane_gzip input output)
  configure_file("${input}" "${output}.in" COPYONLY)
  find_program(LEXIVANE_GZIP gzip REQUIRED)
  execute_process(COMMAND "${LEXIVANE_GZIP}" -9nc "${output}.in" OUTPUT_FILE "${output}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${input}")
  endif()
endfunction()
