# The resources every Windows program of ours carries: the icon (drawn by the
# same code as the window's icon and the Linux theme icons), version
# information in Polish and an application manifest (per-monitor DPI
# awareness, long paths, Windows 10 and 11). Nothing on other systems.
if(NOT WIN32)
  function(zasoby_windows cel opis)
  endfunction()
  return()
endif()

enable_language(RC)
include(ExternalProject)

# The renderer must run on the build machine: it is built there, apart from
# the cross build, with the build machine's own Qt.
ExternalProject_Add(rysuj_ikone_host
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/packaging/ikona
  BINARY_DIR ${CMAKE_BINARY_DIR}/rysuj-ikone-host
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/rysuj-ikone-host/rysuj-ikone)
set(IKONA_ICO ${CMAKE_BINARY_DIR}/windows/${WERYFIKACJA_ID}.ico)
add_custom_command(OUTPUT ${IKONA_ICO}
  COMMAND ${CMAKE_BINARY_DIR}/rysuj-ikone-host/rysuj-ikone --ico ${IKONA_ICO} 16 20 24 32 40 48 64 256
  DEPENDS rysuj_ikone_host VERBATIM)
add_custom_target(ikona_windows DEPENDS ${IKONA_ICO})

set(WERSJA_KROPKI ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0)
if(PROJECT_VERSION_PATCH)
  set(WERSJA_KROPKI ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
endif()
string(REPLACE "." "," WERSJA_PRZECINKI ${WERSJA_KROPKI})
set(MANIFEST ${CMAKE_BINARY_DIR}/windows/program.manifest)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.manifest.in ${MANIFEST} @ONLY)

# Gives the program CEL its resources; OPIS is its description in Polish.
function(zasoby_windows cel opis)
  set(NAZWA ${cel})
  set(OPIS ${opis})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${cel}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/zasoby.rc.in ${rc} @ONLY)
  target_sources(${cel} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${IKONA_ICO};${MANIFEST}")
  add_dependencies(${cel} ikona_windows)
endfunction()
