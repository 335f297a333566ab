# `make install`: `cmake --install` of the build into PREFIX, stripped; a relative PREFIX (or BUILD)
# is taken from the folder make runs in. The install records what it put there; when it fails
# partway (a folder it can't write, a full disk) no record is written, so what it had put there
# is removed again here, and the prefix is left as it was. Run as:
# cmake -DBUILD=... -DPREFIX=... -P install.cmake
include("${CMAKE_CURRENT_LIST_DIR}/installed.cmake")
get_filename_component(prefix "${PREFIX}" ABSOLUTE)
get_filename_component(build "${BUILD}" ABSOLUTE)
set(root "$ENV{DESTDIR}${prefix}")
set(record "${root}/lib/quorvane/installed.txt")
quorvane_existing_folders("${root}" before)
set(earlier)
if(EXISTS "${record}")
  file(STRINGS "${record}" earlier)
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${build}" --prefix "${prefix}" --strip
  RESULT_VARIABLE result OUTPUT_VARIABLE output ECHO_OUTPUT_VARIABLE)
if(result EQUAL 0)
  return()
endif()
# Each file is announced before it is written. What an earlier install's record lists stays, as
# that record does.
set(lines)
string(REGEX MATCHALL "-- Installing: [^\n]+" announced "${output}")
foreach(entry IN LISTS announced)
  string(REGEX REPLACE "^-- Installing: " "" path "${entry}")
  file(RELATIVE_PATH relative "${root}" "${path}")
  list(APPEND lines "file ${relative}")
endforeach()
quorvane_existing_folders("${root}" after)
list(REMOVE_ITEM after ${before})
foreach(folder IN LISTS after)
  list(APPEND lines "folder ${folder}")
endforeach()
list(REMOVE_ITEM lines ${earlier})
quorvane_remove_recorded("${root}" "${lines}")
message(FATAL_ERROR "The install into ${prefix} failed; what it had put there is removed again.")
