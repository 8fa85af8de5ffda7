# Checks README.md: every picture it shows exists, and every program it names is
# one that its main command (tools/run.sh gallery, which builds the target
# "programs") builds.
# Run as: cmake -DSOURCE_DIR=<repo> "-DPROGRAMS=a|b|c" -P CheckReadme.cmake
cmake_minimum_required(VERSION 3.25)
foreach(var SOURCE_DIR PROGRAMS)
  if(NOT ${var})
    message(FATAL_ERROR "CheckReadme: ${var} is not set")
  endif()
endforeach()
string(REPLACE "|" ";" programs "${PROGRAMS}")
file(READ ${SOURCE_DIR}/README.md readme)
set(errors 0)

string(REGEX MATCHALL "!\\[[^]]*\\]\\([^)]+\\)" pictures "${readme}")
if(NOT pictures)
  message(SEND_ERROR "README.md shows no picture")
  math(EXPR errors "${errors} + 1")
endif()
foreach(picture ${pictures})
  string(REGEX REPLACE ".*\\(([^)]+)\\)$" "\\1" path "${picture}")
  if(NOT EXISTS ${SOURCE_DIR}/${path})
    message(SEND_ERROR "README.md shows ${path}, which does not exist")
    math(EXPR errors "${errors} + 1")
  endif()
endforeach()

string(REGEX MATCHALL "(plumex|example)-[a-z]+" named "${readme}")
list(REMOVE_DUPLICATES named)
foreach(program ${named})
  if(NOT program IN_LIST programs)
    message(SEND_ERROR "README.md names ${program}, which its main command does not build")
    math(EXPR errors "${errors} + 1")
  endif()
endforeach()

if(errors GREATER 0)
  message(FATAL_ERROR "${errors} problem(s) in README.md")
endif()
