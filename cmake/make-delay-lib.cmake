# Makes a delay-import library for DLL from the toolchain's import library:
# every function that one imports, by the same symbol names.
# cmake -DNM= -DDLLTOOL= -DIMPORT_LIB= -DDLL= -DOUT= -P make-delay-lib.cmake
execute_process(COMMAND ${NM} -g ${IMPORT_LIB} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[ \t]I __imp_[^\r\n]+" imports "${symbols}")
set(names "")
foreach(import IN LISTS imports)
  string(REGEX REPLACE "^[ \t]I __imp_" "" name "${import}")
  list(APPEND names "${name}")
endforeach()
list(REMOVE_DUPLICATES names)
list(LENGTH names count)
if(count EQUAL 0)
  message(FATAL_ERROR "${IMPORT_LIB} imports nothing from ${DLL}")
endif()
list(JOIN names "\n" exports)
get_filename_component(dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
file(WRITE ${OUT}.def "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
file(REMOVE ${OUT})
execute_process(COMMAND ${DLLTOOL} --input-def ${OUT}.def --dllname ${DLL}
                        --output-delaylib ${OUT}
                COMMAND_ERROR_IS_FATAL ANY)
