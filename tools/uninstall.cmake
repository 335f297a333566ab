# `make uninstall`: removes what `make install` recorded in PREFIX/lib/quorvane/installed.txt,
# the files and links first, then the folders it made, deepest first and only when empty, so that
# whatever else the prefix holds stays. Run as: cmake -DPREFIX=... -P uninstall.cmake
set(record "${PREFIX}/lib/quorvane/installed.txt")
if(NOT EXISTS "${record}")
  message(FATAL_ERROR "Nothing to uninstall: ${record} is missing.")
endif()
file(STRINGS "${record}" lines)
set(folders)
foreach(line IN LISTS lines)
  # The record lies in a folder the user may write: a path that would leave the prefix is no
  # path the install wrote.
  if(line MATCHES "^(file|folder) (/|(.*/)?\\.\\.(/|$))")
    message(WARNING "Skipped, it leaves the prefix: ${line}")
  elseif(line MATCHES "^file (.+)$")
    message(STATUS "Removing: ${PREFIX}/${CMAKE_MATCH_1}")
    file(REMOVE "${PREFIX}/${CMAKE_MATCH_1}")
  elseif(line MATCHES "^folder (.+)$")
    list(APPEND folders "${CMAKE_MATCH_1}")
  endif()
endforeach()
# A folder sorts before the folders inside it.
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  file(GLOB left "${PREFIX}/${folder}/*" "${PREFIX}/${folder}/.*")
  if(IS_DIRECTORY "${PREFIX}/${folder}" AND NOT IS_SYMLINK "${PREFIX}/${folder}" AND NOT left)
    file(REMOVE_RECURSE "${PREFIX}/${folder}")
  endif()
endforeach()
