# What the install scripts and `make uninstall` share. A record line names a path relative to the
# prefix: "file <path>" for each file and link an install put there, "folder <path>" for each
# folder it had to make, where "." is the prefix itself and "..", "../.." the folders above it.

# The folders an install may make that exist now: the prefix and every folder above it, and those
# inside it that the install's files go into.
function(quorvane_existing_folders root out)
  set(found)
  set(folder "${root}")
  set(up ".")
  set(below)
  while(NOT folder STREQUAL "" AND NOT folder STREQUAL below)
    if(IS_DIRECTORY "${folder}")
      list(APPEND found "${up}")
    endif()
    set(below "${folder}")
    get_filename_component(folder "${folder}" DIRECTORY)
    if(up STREQUAL ".")
      set(up "..")
    else()
      string(APPEND up "/..")
    endif()
  endwhile()
  foreach(folder bin lib share share/applications share/icons)
    if(IS_DIRECTORY "${root}/${folder}")
      list(APPEND found "${folder}")
    endif()
  endforeach()
  foreach(tree lib/quorvane share/icons/hicolor)
    if(IS_DIRECTORY "${root}/${tree}")
      list(APPEND found "${tree}")
      # find, not a glob: a prefix may hold "[", "*" or "?", which a glob reads as a pattern. A
      # link to a folder is no folder the install made.
      execute_process(COMMAND find "${root}/${tree}" -mindepth 1 -type d -printf "${tree}/%P\\n"
        OUTPUT_VARIABLE below OUTPUT_STRIP_TRAILING_WHITESPACE)
      string(REPLACE "\n" ";" below "${below}")
      list(APPEND found ${below})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# Removes a folder when it is a folder and empty, so that whatever else is there stays: rmdir
# removes nothing else, whatever the folder's name.
function(quorvane_remove_if_empty folder)
  if(IS_DIRECTORY "${folder}" AND NOT IS_SYMLINK "${folder}")
    execute_process(COMMAND rmdir -- "${folder}" ERROR_QUIET)
  endif()
endfunction()

# Removes what the record lines list under root: the files and links, then the folders, deepest
# first, the prefix and the folders above it last.
function(quorvane_remove_recorded root lines)
  set(folders)
  set(above)
  foreach(line IN LISTS lines)
    if(line MATCHES "^folder (\\.|\\.\\.(/\\.\\.)*)$")
      list(APPEND above "${CMAKE_MATCH_1}")
    # The record lies in a folder the user may write: no other path that leaves the prefix is one
    # the install wrote.
    elseif(line MATCHES "^(file|folder) (/|(.*/)?\\.\\.(/|$))")
      message(WARNING "Skipped, it leaves the prefix: ${line}")
    elseif(line MATCHES "^file (.+)$")
      message(STATUS "Removing: ${root}/${CMAKE_MATCH_1}")
      file(REMOVE "${root}/${CMAKE_MATCH_1}")
    elseif(line MATCHES "^folder (.+)$")
      list(APPEND folders "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  # A folder sorts before the folders inside it, "." before "..".
  list(SORT folders ORDER DESCENDING)
  foreach(folder IN LISTS folders)
    quorvane_remove_if_empty("${root}/${folder}")
  endforeach()
  list(SORT above)
  foreach(up IN LISTS above)
    get_filename_component(folder "${root}/${up}" ABSOLUTE)
    quorvane_remove_if_empty("${folder}")
  endforeach()
endfunction()
