# `make install` into scratch prefixes under PREFIX (in the build tree): the editions' links
# resolve to stripped programs whose parent's parent holds Resources/ with the word files, tables
# and pictures; each edition has a desktop entry starting it by its absolute path, and its icons.
# `make uninstall` then leaves each prefix as it was, without the folders the install made, and an
# install that fails partway leaves it so by itself. Run as: cmake -DBUILD=... -DPREFIX=... -P
set(tools "${CMAKE_CURRENT_LIST_DIR}/../tools")
file(REMOVE_RECURSE "${PREFIX}")

# Runs tools/<script> in folder, as make does; dies unless it ends with the result expected.
function(run script folder prefix expected)
  execute_process(COMMAND "${CMAKE_COMMAND}" -DBUILD=${BUILD} -DPREFIX=${prefix}
    -P "${tools}/${script}" WORKING_DIRECTORY "${folder}" RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL expected)
    message(FATAL_ERROR "${script} into ${prefix} ended with ${result}")
  endif()
endfunction()

function(check_installed prefix)
  foreach(program quorvane quorvane-deutsch quorvane-english)
    file(STRINGS "${prefix}/lib/quorvane/bin/${program}" debug LIMIT_COUNT 1 REGEX "[.]debug_info")
    if(debug)
      message(FATAL_ERROR "${program} is installed with its debug information")
    endif()
    file(REAL_PATH "${prefix}/bin/${program}" real)
    if(NOT real STREQUAL "${prefix}/lib/quorvane/bin/${program}" OR NOT EXISTS "${real}")
      message(FATAL_ERROR "${program} links to ${real}")
    endif()
    file(READ "${prefix}/share/applications/${program}.desktop" entry)
    set(exec "${prefix}/bin/${program}")
    if(exec MATCHES " ")
      set(exec "\"${exec}\"")  # a command with a blank is quoted, or it is split there
    endif()
    foreach(line "Exec=${exec}\n" "Icon=${program}\n" "Type=Application\n")
      string(FIND "${entry}" "${line}" at)
      if(at EQUAL -1)
        message(FATAL_ERROR "${program}.desktop lacks ${line}")
      endif()
    endforeach()
    foreach(size 48 64 128 256)
      if(NOT EXISTS "${prefix}/share/icons/hicolor/${size}x${size}/apps/${program}.png")
        message(FATAL_ERROR "no ${size} pixel icon for ${program}")
      endif()
    endforeach()
  endforeach()
  foreach(file DIC_DB_DE.tdb DIC_WL_DE.tdb DIC_DB_EN.tdb DIC_WL_EN.tdb de.strings WinTitleDE.png
               WinTitleDE@2x.png QVIconEN128w.png)
    if(NOT EXISTS "${prefix}/lib/quorvane/Resources/${file}")
      message(FATAL_ERROR "Resources/${file} is not installed")
    endif()
  endforeach()
  if(EXISTS "${prefix}/lib/quorvane/Resources/CMakeFiles")
    message(FATAL_ERROR "build files went into Resources/")
  endif()
endfunction()

# Every path below folder, sorted; find, not a glob, as the prefix's name holds "[1]".
function(tree folder out)
  execute_process(COMMAND find "${folder}" -mindepth 1 OUTPUT_VARIABLE paths
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REPLACE "\n" ";" paths "${paths}")
  list(SORT paths)
  set(${out} "${paths}" PARENT_SCOPE)
endfunction()

function(check_unchanged folder before what)
  tree("${folder}" after)
  if(NOT IS_DIRECTORY "${folder}" OR NOT after STREQUAL before)
    message(FATAL_ERROR "${what} left ${after}, not ${before}")
  endif()
endfunction()

# A prefix holding another program's files, and a folder in the way of the last link. Its name
# would be a pattern to a glob.
set(other "${PREFIX}/other [1]")
file(MAKE_DIRECTORY "${other}/bin/quorvane-english" "${other}/share/applications" "${other}/lib")
file(TOUCH "${other}/bin/other" "${other}/bin/quorvane-english/other"
  "${other}/share/applications/other.desktop")
tree("${other}" before)
run(install.cmake "${PREFIX}" "${other}" 1)
check_unchanged("${other}" "${before}" "a failed install")
file(REMOVE_RECURSE "${other}/bin/quorvane-english")
tree("${other}" before)
run(install.cmake "${PREFIX}" "${other}" 0)
check_installed("${other}")
# Another program's icon in a folder the install made keeps that folder.
file(TOUCH "${other}/share/icons/hicolor/48x48/apps/other.png")
run(uninstall.cmake "${PREFIX}" "${other}" 0)
if(NOT EXISTS "${other}/share/icons/hicolor/48x48/apps/other.png")
  message(FATAL_ERROR "uninstall took another program's icon")
endif()
file(REMOVE_RECURSE "${other}/share/icons")
check_unchanged("${other}" "${before}" "uninstall")

# A relative prefix whose folders don't exist yet, taken from the folder make runs in, with a
# blank in its path.
tree("${PREFIX}" before)
run(install.cmake "${PREFIX}" "new/the prefix" 0)
check_installed("${PREFIX}/new/the prefix")
run(uninstall.cmake "${PREFIX}" "new/the prefix" 0)
check_unchanged("${PREFIX}" "${before}" "uninstall from a new prefix")

# The default prefix in a fresh home, through make.
set(home "${PREFIX}/home")
file(MAKE_DIRECTORY "${home}")
foreach(target install uninstall)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=MAKEFLAGS "HOME=${home}"
    make -s -C "${CMAKE_CURRENT_LIST_DIR}/.." -o program ${target} "BUILD=${BUILD}"
    RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0 OR target STREQUAL install AND NOT EXISTS "${home}/.local/bin/quorvane")
    message(FATAL_ERROR "make ${target} in a fresh home ended with ${result}")
  endif()
endforeach()
check_unchanged("${home}" "" "uninstall from a fresh home")
file(REMOVE_RECURSE "${PREFIX}")
