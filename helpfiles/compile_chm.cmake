# Compiles one language's help project into a .chm (run with cmake -P).
#   CHMCMD   the compiler (chmcmd from Free Pascal's fp-utils)
#   SOURCE   the language's source folder (pages, .hhc, .hhk, .hhp)
#   STYLE    the style sheet shared by all languages
#   STAGE    a scratch folder; the project is compiled there so that the
#            shared style sheet sits beside the pages and nothing is written
#            into the source tree
#   PROJECT  the project's name: PROJECT.hhp in, PROJECT.chm out
#   OUTPUT   where the finished .chm goes
foreach(var CHMCMD SOURCE STYLE STAGE PROJECT OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "compile_chm.cmake: ${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}")
file(GLOB sources "${SOURCE}/*")
file(COPY ${sources} "${STYLE}" DESTINATION "${STAGE}")

execute_process(COMMAND "${CHMCMD}" "${PROJECT}.hhp"
                WORKING_DIRECTORY "${STAGE}"
                RESULT_VARIABLE result
                OUTPUT_VARIABLE output
                ERROR_VARIABLE output)

# chmcmd reports a page linked but missing only as a warning and still
# writes the file; a help file with dead links is a broken build.
string(REGEX MATCHALL "[^\n]*(Warning|Error)[^\n]*" problems "${output}")
if(NOT result EQUAL 0 OR problems OR NOT EXISTS "${STAGE}/${PROJECT}.chm")
    message(FATAL_ERROR "chmcmd failed on ${SOURCE}/${PROJECT}.hhp:\n${output}")
endif()

get_filename_component(out_dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${out_dir}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E copy "${STAGE}/${PROJECT}.chm" "${OUTPUT}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not copy ${PROJECT}.chm to ${OUTPUT}")
endif()
