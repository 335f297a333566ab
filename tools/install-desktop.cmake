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
file(MAKE_DIRECTORY "${root}/bin" "${root}/share/applications")
foreach(index 0 1 2)
  list(GET QUORVANE_EDITION_NAMES ${index} QUORVANE_NAME)
  list(GET QUORVANE_EDITION_COMMENTS ${index} QUORVANE_COMMENT)
  list(GET QUORVANE_EDITION_COMMENTS_DE ${index} QUORVANE_COMMENT_DE)
  list(GET QUORVANE_PROGRAMS ${index} program)
  set(QUORVANE_EXEC "${prefix}/bin/${program}")
  set(QUORVANE_ICON "${program}")
  message(STATUS "Installing: ${root}/bin/${program}")
  file(CREATE_LINK "../lib/quorvane/bin/${program}" "${root}/bin/${program}" SYMBOLIC)
  message(STATUS "Installing: ${root}/share/applications/${program}.desktop")
  configure_file("${QUORVANE_DESKTOP_TEMPLATE}" "${root}/share/applications/${program}.desktop"
    @ONLY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${root}/bin/${program}"
    "${root}/share/applications/${program}.desktop")
endforeach()
