# The Windows layout: both programs in one folder with every DLL they load
# that is not part of Windows, Qt's plugins in the subfolders Qt looks in,
# and Qt's Polish translation. CPack packs it as a zip; scripts/
# windows-package.sh makes the MSI installer of the same tree.
# The DLLs are found by reading import tables with the cross objdump.
install(CODE "
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
  set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND \"${CMAKE_OBJDUMP}\")")

set(programy weryfikuj-plik)
if(WERYFIKACJA_GUI)
  list(APPEND programy Tarmeko_weryfikacja_pliku)
endif()
install(TARGETS ${programy} RUNTIME_DEPENDENCY_SET zaleznosci RUNTIME DESTINATION .)
# The built-in bank profiles as files beside the programs, for an
# administrator to copy and change (docs/PROFILE.md).
set(pliki_profili ${WERYFIKACJA_PROFILE})
list(TRANSFORM pliki_profili PREPEND ${PROJECT_SOURCE_DIR}/profile/)
install(FILES ${pliki_profili} DESTINATION profile)

# Where the DLLs we ship come from: the compiler's runtime.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
  OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(katalog_gcc ${libgcc} DIRECTORY)
set(katalogi ${katalog_gcc} /usr/x86_64-w64-mingw32/lib)

if(WERYFIKACJA_GUI)
  # Qt's modules by name: CMake matches Windows DLL names in lower case,
  # which finds no Qt DLL on a case-sensitive build machine.
  install(IMPORTED_RUNTIME_ARTIFACTS Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport
    RUNTIME DESTINATION . LIBRARY DESTINATION .)
  # The plugins Qt loads by name at run time: no import table names them,
  # but the DLLs they import join the set.
  foreach(wtyczka IN ITEMS QWindowsIntegrationPlugin:platforms QWindowsVistaStylePlugin:styles)
    string(REPLACE ":" ";" wtyczka ${wtyczka})
    list(GET wtyczka 0 cel)
    list(GET wtyczka 1 folder)
    install(IMPORTED_RUNTIME_ARTIFACTS Qt6::${cel} RUNTIME_DEPENDENCY_SET zaleznosci
      LIBRARY DESTINATION ${folder} RUNTIME DESTINATION ${folder})
  endforeach()
  # Qt's own texts (the question's Yes and No, ...) in Polish; the window
  # program loads it from here.
  install(FILES ${QT_HOST_PATH}/share/qt6/translations/qtbase_pl.qm DESTINATION translations)
endif()

# A DLL found in those folders is shipped; Qt's come above; any other is
# Windows' own. Names are matched in lower case, as CMake compares them.
set(nasze)
foreach(katalog IN LISTS katalogi)
  file(GLOB dll RELATIVE ${katalog} ${katalog}/*.dll)
  foreach(nazwa IN LISTS dll)
    string(TOLOWER "${nazwa}" nazwa)
    string(REGEX REPLACE "([.+])" "\\\\\\1" nazwa "${nazwa}")
    list(APPEND nasze "^${nazwa}$")
  endforeach()
endforeach()
install(RUNTIME_DEPENDENCY_SET zaleznosci DESTINATION .
  DIRECTORIES ${katalogi}
  PRE_INCLUDE_REGEXES ${nasze}
  PRE_EXCLUDE_REGEXES ".*"
  POST_EXCLUDE_REGEXES "^qt6")

# The DLLs come with their symbols; a stripped install (the zip's, the
# installer's) leaves them out.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    file(GLOB_RECURSE dll \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \${dll})
  endif()")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${WERYFIKACJA_WYDAWCA})
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
