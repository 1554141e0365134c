# Checks a manual page against its program: `man --warnings` finds nothing to
# complain about, and every command and option the program's --help lists is
# in the page (a command as an entry of its own: a line beginning with it in
# bold), so the page cannot fall behind the program.
# Run with -DPROGRAM=<executable> -DPAGE=<roff file>.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND man --warnings -l ${PAGE}
  RESULT_VARIABLE status OUTPUT_VARIABLE rendered ERROR_VARIABLE warnings)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "man --warnings -l ${PAGE} (status ${status}):\n${warnings}")
endif()

execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (status ${status})")
endif()
get_filename_component(name ${PROGRAM} NAME)

file(READ ${PAGE} page)
string(REGEX REPLACE "\\\\f[BIRP]" "" plain "${page}")
string(REPLACE "\\&" "" plain "${plain}")
string(REPLACE "\\-" "-" plain "${plain}")

set(missing "")
# Commands: the help's lines "  NAME COMMAND ...".
string(REGEX MATCHALL "\n  ${name} [a-z][a-z-]*" lines "\n${help}")
foreach(line IN LISTS lines)
  string(REGEX REPLACE ".* " "" command "${line}")
  string(FIND "\n${page}" "\n\\fB${command}\\fR" at)
  if(at EQUAL -1)
    list(APPEND missing "command ${command}")
  endif()
endforeach()
# Options: a dash and a letter after a blank, a bracket, "|" or ",". (Brackets
# become blanks first: CMake does not split a list inside them.)
string(REGEX REPLACE "[][()|,\n]" " " words "${help}")
string(REGEX MATCHALL " --?[a-z][a-z-]*" options "${words}")
list(TRANSFORM options STRIP)
list(REMOVE_DUPLICATES options)
foreach(option IN LISTS options)
  string(REGEX MATCH "(^|[^a-z-])${option}([^a-z-]|$)" found "${plain}")
  if(found STREQUAL "")
    list(APPEND missing "option ${option}")
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " text)
  message(FATAL_ERROR "${PAGE} lacks what `${name} --help` lists:\n  ${text}")
endif()
list(LENGTH lines commands)
list(LENGTH options count)
message(STATUS "${PAGE}: ${commands} commands and ${count} options of ${name} --help")
