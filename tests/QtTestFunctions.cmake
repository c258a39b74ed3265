# Run after a QtTest program is built: asks it for its test functions
# (-functions) and writes a CTest file with one test per function, so a
# failure names the function and each one runs on its own. New functions
# are picked up at the next build.
#
# cmake -D PROGRAM=path -D NAME=MainWindowTest -D OUTPUT=file -P QtTestFunctions.cmake

set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND "${PROGRAM}" -functions
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} -functions failed (${status}):\n${errors}")
endif()

string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*\\(\\)" functions "${listing}")
if(NOT functions)
  message(FATAL_ERROR "${PROGRAM} -functions listed no test functions")
endif()
set(script "# Written by QtTestFunctions.cmake from ${NAME} -functions\n")
set(tests "")
foreach(function IN LISTS functions)
  string(REPLACE "()" "" function "${function}")
  string(APPEND script "add_test([=[${NAME}.${function}]=] [=[${PROGRAM}]=] [=[${function}]=])\n")
  string(APPEND tests " [=[${NAME}.${function}]=]")
endforeach()
string(APPEND script "set(qttest_functions${tests})\n")
file(WRITE "${OUTPUT}" "${script}")
