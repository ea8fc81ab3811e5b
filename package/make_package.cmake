# Stages the release's program folder and packs it into one zip, run by the
# build (cmake -P): the executables stripped, beside them the language packs,
# the help files, the change history and the read-me files. Takes
# -DSTAGE= -DOUTPUT= -DSTRIP= -DKELVRA_EXE= -DSHELL_EXE= -DCTL_EXE= -DLANGUAGES= -DHELP_DIR=
# -DHISTORY= -DDOCS=.
cmake_minimum_required(VERSION 3.20)

file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/languages" "${STAGE}/helpfiles")

set(entries)
foreach(exe "${KELVRA_EXE}" "${SHELL_EXE}" "${CTL_EXE}")
    get_filename_component(name "${exe}" NAME)
    # Symbols are of no use to a user and make up over half of the file.
    execute_process(COMMAND "${STRIP}" --strip-all -o "${STAGE}/${name}" "${exe}"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "could not strip ${exe}")
    endif()
    list(APPEND entries "${name}")
endforeach()

# Every shipped pack; German needs none, its texts are built in.
file(GLOB packs "${LANGUAGES}/*.lng")
list(SORT packs)
foreach(file IN LISTS packs)
    file(COPY "${file}" DESTINATION "${STAGE}/languages")
    get_filename_component(name "${file}" NAME)
    list(APPEND entries "languages/${name}")
endforeach()

file(GLOB help_files "${HELP_DIR}/*.chm")
if(NOT help_files)
    message(FATAL_ERROR "no help files in ${HELP_DIR}")
endif()
list(SORT help_files)
foreach(file IN LISTS help_files)
    file(COPY "${file}" DESTINATION "${STAGE}/helpfiles")
    get_filename_component(name "${file}" NAME)
    list(APPEND entries "helpfiles/${name}")
endforeach()

file(COPY "${HISTORY}" "${DOCS}/ReadMe.txt" "${DOCS}/Liesmich.txt" DESTINATION "${STAGE}")
list(APPEND entries history.txt ReadMe.txt Liesmich.txt)

file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${OUTPUT}" --format=zip -- ${entries}
                WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not pack ${OUTPUT}")
endif()
