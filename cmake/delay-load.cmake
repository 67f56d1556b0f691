# nestova_delayed_dll(dll): an interface target, delayed_<dll>, that links
# the system DLL so that it loads when the program first calls into it
# instead of at every start. Under Wine each DLL loaded at start costs its
# mapping and set-up, and most starts never use the shell's folder browsing,
# OLE or sockets. The functions come from a delay-import library made here
# from the toolchain's own import library, so every function that one has
# stays available. Libraries link the target in place of the plain DLL.
#
# 64-bit builds only: linked into a 32-bit program, the entries of dlltool's
# delay-import libraries come out zero (binutils 2.40) and the first call
# jumps to address 0. The 32-bit build loads these DLLs at start as before.
set(NESTOVA_DELAY_LIB_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/make-delay-lib.cmake)

function(nestova_delayed_dll dll)
  add_library(delayed_${dll} INTERFACE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_libraries(delayed_${dll} INTERFACE ${dll})
    return()
  endif()
  find_program(NESTOVA_DLLTOOL NAMES ${NESTOVA_MINGW_TRIPLE}-dlltool dlltool REQUIRED)
  find_program(NESTOVA_NM NAMES ${NESTOVA_MINGW_TRIPLE}-nm nm REQUIRED)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${dll}.a
                  OUTPUT_VARIABLE import_lib OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS "${import_lib}")
    message(FATAL_ERROR "no import library lib${dll}.a for ${dll}.dll")
  endif()
  set(out ${CMAKE_BINARY_DIR}/delay-load/lib${dll}-delay.a)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DNM=${NESTOVA_NM} -DDLLTOOL=${NESTOVA_DLLTOOL}
            -DIMPORT_LIB=${import_lib} -DDLL=${dll}.dll -DOUT=${out}
            -P ${NESTOVA_DELAY_LIB_SCRIPT}
    DEPENDS ${NESTOVA_DELAY_LIB_SCRIPT} ${import_lib}
    COMMENT "Making the delay-import library of ${dll}.dll"
    VERBATIM)
  add_custom_target(delayed_${dll}_lib DEPENDS ${out})
  target_link_libraries(delayed_${dll} INTERFACE ${out})
  add_dependencies(delayed_${dll} delayed_${dll}_lib)
endfunction()
