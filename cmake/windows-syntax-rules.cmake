# Writes a makefile that type-checks sources with the Windows cross compiler, one rule per
# source, from the compile commands of a Linux build: the same include paths, definitions and
# generated ui_*.h / moc headers, with -fsyntax-only in place of the object file.
#   cmake -DCOMPILE_COMMANDS=<build>/compile_commands.json -DSOURCE_DIR=<root>
#         -DCOMPILER=<g++> -DFLAGS=<extra flags> -DLOG_DIR=<dir> -DOUTPUT=<makefile>
#         [-DSUBDIRS=src/app;bench;tests/app] -P windows-syntax-rules.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SUBDIRS)
  set(SUBDIRS src/app bench tests/app)
endif()

file(READ "${COMPILE_COMMANDS}" json)
string(JSON count LENGTH "${json}")
math(EXPR last "${count} - 1")
set(rules "")
set(logs "")
set(index 0)
foreach(i RANGE ${last})
  string(JSON source GET "${json}" ${i} file)
  set(wanted FALSE)
  foreach(dir IN LISTS SUBDIRS)
    string(FIND "${source}" "${SOURCE_DIR}/${dir}/" at)
    if(at EQUAL 0)
      set(wanted TRUE)
    endif()
  endforeach()
  if(NOT wanted)
    continue()
  endif()
  string(JSON directory GET "${json}" ${i} directory)
  string(JSON command GET "${json}" ${i} command)

  # The host compiler and its object file go; flags that mean something else or nothing for
  # a Windows target go too (mingw warns that -fPIC is ignored), and so does the definition
  # that only an X11 build makes for its X client library. Qt's platform headers are taken from
  # its Windows mkspec.
  separate_arguments(args UNIX_COMMAND "${command}")
  list(POP_FRONT args)
  set(command "${COMPILER}")
  set(skip FALSE)
  foreach(arg IN LISTS args)
    if(skip)
      set(skip FALSE)
    elseif(arg STREQUAL "-o" OR arg STREQUAL "-c")
      set(skip TRUE)
    elseif(NOT arg MATCHES "^-(fPIC|g|fsanitize=.*|fno-sanitize-recover=.*|DORDER_HAVE_XCB)$")
      string(REPLACE "/mkspecs/linux-g++" "/mkspecs/win32-g++" arg "${arg}")
      if(arg MATCHES "'")
        message(FATAL_ERROR "Cannot quote ${arg}")
      endif()
      string(APPEND command " '${arg}'")
    endif()
  endforeach()
  string(APPEND command " ${FLAGS} -fsyntax-only '${source}'")
  string(REPLACE "$" "$$" command "${command}")

  math(EXPR index "${index} + 1")
  file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
  string(MAKE_C_IDENTIFIER "${name}" name)
  set(log "${LOG_DIR}/${name}.log")
  list(APPEND logs "${log}")
  string(APPEND rules "${log}:\n\t@cd '${directory}' && ${command} >${log}.tmp 2>&1; "
                      "status=$$?; mv ${log}.tmp ${log}; exit $$status\n")
endforeach()
if(index EQUAL 0)
  message(FATAL_ERROR "No sources to check in ${COMPILE_COMMANDS}")
endif()
list(JOIN logs " " all)
file(WRITE "${OUTPUT}" ".PHONY: all\nall: ${all}\n${rules}")
