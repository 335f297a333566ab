# Run by `cmake --install`: links PREFIX/bin/<edition> to the installed program and writes a
# desktop entry per edition that starts it by its absolute path and shows its icon.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(root "$ENV{DESTDIR}${prefix}")
set(QUORVANE_PROGRAMS quorvane quorvane-deutsch quorvane-english)
set(QUORVANE_EDITION_NAMES "Quorvane" "Quorvane Deutsch" "Quorvane English")
set(QUORVANE_EDITION_COMMENTS
  "Look up words and synonyms in German or English"
  "Look up German words and synonyms"
  "Look up English words and synonyms")
set(QUORVANE_EDITION_COMMENTS_DE
  "Wörter und Synonyme nachschlagen, Deutsch oder Englisch"
  "Deutsche Wörter und Synonyme nachschlagen"
  "Englische Wörter und Synonyme nachschlagen")
# A desktop entry's command is split at blanks: a path with anything but plain characters is
# quoted, with "%" doubled and a backslash before each quote, backquote, dollar and backslash,
# each such backslash written twice, as a value's own escaping asks.
function(quorvane_desktop_exec path out)
  if(NOT path MATCHES "[^A-Za-z0-9/._+-]")
    set(${out} "${path}" PARENT_SCOPE)
    return()
  endif()
  set(bs "\\")
  string(REPLACE "${bs}" "${bs}${bs}${bs}${bs}" path "${path}")
  foreach(reserved "\"" "`" "$")
    string(REPLACE "${reserved}" "${bs}${bs}${reserved}" path "${path}")
  endforeach()
  string(REPLACE "%" "%%" path "${path}")
  set(${out} "\"${path}\"" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY "${root}/bin" "${root}/share/applications")
foreach(index 0 1 2)
  list(GET QUORVANE_EDITION_NAMES ${index} QUORVANE_NAME)
  list(GET QUORVANE_EDITION_COMMENTS ${index} QUORVANE_COMMENT)
  list(GET QUORVANE_EDITION_COMMENTS_DE ${index} QUORVANE_COMMENT_DE)
  list(GET QUORVANE_PROGRAMS ${index} program)
  quorvane_desktop_exec("${prefix}/bin/${program}" QUORVANE_EXEC)
  set(QUORVANE_ICON "${program}")
  message(STATUS "Installing: ${root}/bin/${program}")
  file(CREATE_LINK "../lib/quorvane/bin/${program}" "${root}/bin/${program}" SYMBOLIC)
  message(STATUS "Installing: ${root}/share/applications/${program}.desktop")
  configure_file("${QUORVANE_DESKTOP_TEMPLATE}" "${root}/share/applications/${program}.desktop"
    @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${root}/bin/${program}"
    "${root}/share/applications/${program}.desktop")
endforeach()
