# The Windows program: Win32 glue, resources and Nestova.exe. Included from
# src/ when cross-compiling with mingw-w64.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                        WINVER=0x0601)

set(MANIFEST ${CMAKE_BINARY_DIR}/resources/Nestova.manifest)
configure_file(${PROJECT_SOURCE_DIR}/resources/Nestova.manifest.in ${MANIFEST} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/Nestova.rc.in
               ${CMAKE_BINARY_DIR}/resources/Nestova.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/resources/Nestova.rc PROPERTIES
                            OBJECT_DEPENDS "${ART_FILES};${MANIFEST}")

# Win32 glue shared by the program and the tests that run under Wine.
add_library(nestova_win STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/os.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/window.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/dpi.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/containers.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/components/TsPathDialog.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/Unit_Main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/app/Unit_Main_controls.cpp
)
target_include_directories(nestova_win PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}
                                              ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(nestova_win PUBLIC nestova_core comctl32 shell32 ole32 uuid gdi32 user32
                      PRIVATE nestova_warnings)

add_executable(Nestova WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp
                             ${CMAKE_BINARY_DIR}/resources/Nestova.rc)
target_link_libraries(Nestova PRIVATE nestova_win nestova_warnings)
add_dependencies(Nestova nestova_art)
# One self-contained executable: no runtime DLLs beside it.
target_link_options(Nestova PRIVATE -municode -static -static-libgcc -static-libstdc++
                    $<$<CONFIG:Release>:-s>)  # no symbols in the shipped file
set_target_properties(Nestova PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
