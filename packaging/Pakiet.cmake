# The Debian package: what is installed above, with the dependencies that
# dpkg-shlibdeps reads from the binaries plus what the window needs at run
# time and no binary names.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${NAZWA_PAKIETU})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${WERYFIKACJA_WYDAWCA})
set(CPACK_PACKAGE_CONTACT ${WERYFIKACJA_OPIEKUN})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checks files of bank transfers before they go to the bank")
# CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Internet banking refuses a file of transfers (a payment or payroll list) that
holds characters it cannot take. This tool finds every byte outside printable
ASCII other than the Polish letters of Windows-1250, shows the faulty lines
and characters with their positions, lets the user replace them, saves a
corrected copy beside the source and shows, saves and prints an error report.
.
The command weryfikuj-plik checks files the same way from scripts and on
machines without a display.")
if(WERYFIKACJA_GUI)
  # The window's faces: a sans-serif, a monospaced one and one with the
  # control pictures it shows for a tab or a NUL.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "fonts-dejavu-core, fonts-liberation | fonts-liberation2, fonts-freefont-ttf")
  # No Qt Wayland plugin: the window is shown centred on the screen, which a
  # Wayland client may not do. Qt's X11 plugin comes with its library and
  # serves a Wayland desktop through XWayland.
endif()
include(CPack)
