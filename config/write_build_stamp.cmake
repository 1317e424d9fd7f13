# Writes the build stamp header: the date and time of the build in the forms
# "Jan 15 2014" and "18:29:51", in UTC. string(TIMESTAMP) takes the time from
# SOURCE_DATE_EPOCH when it is set, so a build can be reproduced to the byte.
#   cmake -DOUTPUT=<header> -P write_build_stamp.cmake
string(TIMESTAMP month "%m" UTC)
string(TIMESTAMP day "%d" UTC)
string(TIMESTAMP year "%Y" UTC)
string(TIMESTAMP clock "%H:%M:%S" UTC)
# Month names and a blank-padded day, as the compiler's own date reads.
set(names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR index "${month} - 1")
list(GET names ${index} month_name)
string(REGEX REPLACE "^0" " " day "${day}")
set(text "// Generated at build time by write_build_stamp.cmake; do not edit.
#pragma once
#define KS_BUILD_DATE L\"${month_name} ${day} ${year}\"
#define KS_BUILD_TIME L\"${clock}\"
")
# Rewritten only when it changes, so an unchanged stamp rebuilds nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
