# Run as a script: makes a delay-import library for one system DLL from the toolchain's own
# import library, with the same exports (functions by their thunks, the rest as data).
#   cmake -DNM=... -DDLLTOOL=... -DIMPORT_LIB=... -DDLL=comdlg32 -DOUT=.../libcomdlg32.a -P MakeDelayLib.cmake
execute_process(COMMAND ${NM} ${IMPORT_LIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} ${IMPORT_LIB} failed")
endif()
# 64-bit names: "__imp_Name" and the thunk "Name" (the 32-bit programs keep plain imports).
string(REGEX MATCHALL "[ \t]I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
set(def "LIBRARY ${DLL}.dll\nEXPORTS\n")
foreach(import IN LISTS imports)
  string(REGEX REPLACE "^[ \t]I __imp_" "" name "${import}")
  string(FIND "${symbols}" " T ${name}\n" at)
  if(at EQUAL -1)
    string(APPEND def "${name} DATA\n")
  else()
    string(APPEND def "${name}\n")
  endif()
endforeach()
get_filename_component(folder "${OUT}" DIRECTORY)
file(WRITE "${folder}/${DLL}.def" "${def}")
execute_process(COMMAND ${DLLTOOL} -d "${folder}/${DLL}.def" -y "${OUT}"
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${DLLTOOL} could not make ${OUT}")
endif()
