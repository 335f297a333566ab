# `make uninstall`: removes what `make install` recorded in PREFIX/lib/quorvane/installed.txt,
# the files and links first, then the folders it made once they are empty, so that whatever else
# the prefix holds stays. A relative PREFIX is taken from the folder make runs in, as the install
# takes it. Run as: cmake -DPREFIX=... -P uninstall.cmake
include("${CMAKE_CURRENT_LIST_DIR}/installed.cmake")
get_filename_component(prefix "${PREFIX}" ABSOLUTE)
set(record "${prefix}/lib/quorvane/installed.txt")
if(NOT EXISTS "${record}")
  message(FATAL_ERROR "Nothing to uninstall: ${record} is missing.")
endif()
file(STRINGS "${record}" lines)
quorvane_remove_recorded("${prefix}" "${lines}")
