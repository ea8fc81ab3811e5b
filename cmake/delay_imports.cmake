# Delay-load import libraries: a DLL linked through one of these is loaded on
# the first call of one of its functions instead of with the program. For
# the DLLs the first screen does not need (OLE, the shell), so that every
# start does not pay their loading.
#
# kelvra_delay_import(<var> <dll> <function>...) builds lib<dll>_delay.a
# from the listed functions and puts its path into <var> (empty where the
# program keeps its ordinary imports).
# A function used but not listed still links through the ordinary import
# library named after it, and then loads the DLL at start again.
find_program(KELVRA_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool dlltool REQUIRED)

function(kelvra_delay_import var dll)
    # The 32-bit delay-import thunks of this binutils jump to address 0 under
    # Wine: the 32-bit program keeps its ordinary imports.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(${var} "" PARENT_SCOPE)
        return()
    endif()
    set(def ${CMAKE_BINARY_DIR}/delay/${dll}.def)
    set(lib ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
    set(exports "")
    foreach(function ${ARGN})
        string(APPEND exports "    ${function}\n")
    endforeach()
    file(WRITE ${def}.in "LIBRARY ${dll}.dll\nEXPORTS\n${exports}")
    configure_file(${def}.in ${def} COPYONLY)
    add_custom_command(
        OUTPUT ${lib}
        COMMAND ${KELVRA_DLLTOOL} --input-def ${def} --dllname ${dll}.dll
                --output-delaylib ${lib}
        DEPENDS ${def}
        VERBATIM)
    add_custom_target(${dll}_delay DEPENDS ${lib})
    set(${var} ${lib} PARENT_SCOPE)
endfunction()
