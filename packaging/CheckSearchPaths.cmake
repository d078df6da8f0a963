# Library search paths (RPATH, RUNPATH) of built programs. The program ships no library of its
# own, so every entry is a way to plant one: an empty entry is the directory the user started
# it from, a relative one is relative to that, and $ORIGIN is wherever the program lies.
#
# As a script: cmake -DREADELF=<readelf> -DLIST=<file with one program per line> -P <this file>
# A program whose line starts with '?' is built only on request and checked when it is there.
# CheckInstallTree.cmake includes it for the installed program.
cmake_minimum_required(VERSION 3.25)

# Appends one line per bad entry of `program` to the variable named by `errors_var`.
function(sanivex_check_search_paths readelf program errors_var)
  set(errors "${${errors_var}}")
  execute_process(COMMAND ${readelf} --dynamic --wide ${program}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(result)
    string(APPEND errors "${program}: readelf failed: ${err}\n")
  endif()
  string(REGEX MATCHALL "\\((RPATH|RUNPATH)\\)[^\n]*\\[[^]\n]*\\]" entries "${out}")
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "\\(([A-Z]+)\\)[^[]*\\[(.*)\\]" _ "${entry}")
    set(kind ${CMAKE_MATCH_1})
    set(value "${CMAKE_MATCH_2}")
    # Split by hand: a CMake list would drop the empty entries this is looking for.
    string(REPLACE ":" ";" dirs "${value}")
    if(value STREQUAL "" OR value MATCHES "(^:|::|:$)")
      string(APPEND errors "${program}: ${kind} [${value}] has an empty entry\n")
    endif()
    foreach(dir IN LISTS dirs)
      if(dir MATCHES "ORIGIN")
        string(APPEND errors "${program}: ${kind} [${value}] has ${dir}\n")
      elseif(NOT dir STREQUAL "" AND NOT IS_ABSOLUTE "${dir}")
        string(APPEND errors "${program}: ${kind} [${value}] has the relative entry ${dir}\n")
      endif()
    endforeach()
  endforeach()
  set(${errors_var} "${errors}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  if(NOT READELF)
    message(FATAL_ERROR "no readelf: install binutils")
  endif()
  file(STRINGS ${LIST} programs)
  set(errors "")
  set(checked 0)
  foreach(program IN LISTS programs)
    string(REGEX REPLACE "^\\?" "" path "${program}")
    if(EXISTS ${path})
      sanivex_check_search_paths(${READELF} ${path} errors)
      math(EXPR checked "${checked} + 1")
    elseif(path STREQUAL program)
      string(APPEND errors "${path}: not built\n")
    endif()
  endforeach()
  if(errors)
    message(FATAL_ERROR "${errors}")
  endif()
  message(STATUS "${checked} programs: no empty, relative or $ORIGIN library search path")
endif()
