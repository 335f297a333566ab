# Run by `cmake --install` first and last. The last run writes lib/quorvane/installed.txt, what
# `make uninstall` removes (see installed.cmake): each file and link the install put there and each
# folder it had to make, the prefix and the folders above it included. A folder that was there
# before is never listed, and a reinstall keeps the lines of the install before it.
include("${CMAKE_CURRENT_LIST_DIR}/installed.cmake")
# A relative prefix is taken from the folder the install runs in, as CMake takes it.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(root "$ENV{DESTDIR}${prefix}")
set(record "lib/quorvane/installed.txt")

if(NOT DEFINED QUORVANE_FOLDERS_BEFORE)
  quorvane_existing_folders("${root}" QUORVANE_FOLDERS_BEFORE)
  set(QUORVANE_EARLIER_RECORD)
  if(EXISTS "${root}/${record}")
    file(STRINGS "${root}/${record}" QUORVANE_EARLIER_RECORD)
  endif()
  return()
endif()

quorvane_existing_folders("${root}" after)
list(REMOVE_ITEM after ${QUORVANE_FOLDERS_BEFORE})
set(lines ${QUORVANE_EARLIER_RECORD})
foreach(path IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  file(RELATIVE_PATH relative "${root}" "${path}")
  list(APPEND lines "file ${relative}")
endforeach()
list(APPEND lines "file ${record}")
foreach(folder IN LISTS after)
  list(APPEND lines "folder ${folder}")
endforeach()
list(REMOVE_DUPLICATES lines)
list(JOIN lines "\n" content)
message(STATUS "Installing: ${root}/${record}")
file(WRITE "${root}/${record}" "${content}\n")
