# Run by CPack on the staged files before it packs them: Debian wants
# manual pages and its changelog gzipped without a time stamp, whichever
# part of the project installed them.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS staged)
  if(file MATCHES "/share/man/([a-z_@.A-Z]+/)?man[1-9]/[^/]+\\.[1-9][a-z]*$"
     OR file MATCHES "/share/doc/[^/]+/changelog\\.Debian$")
    execute_process(COMMAND gzip -n -9 -f "${file}" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "gzip ${file} failed")
    endif()
  endif()
endforeach()
