# Installation as a desktop application, and the Debian package made of it.
include(GNUInstallDirs)

# Help (F1) opens the installed guide; a build that is not installed falls
# back to the guide of its source tree (KORVEL_DOCS_DIR).
set(KORVEL_INSTALL_DOCS_DIR "${CMAKE_INSTALL_DATADIR}/korvel/docs")
target_compile_definitions(korvel_ui PUBLIC
  KORVEL_INSTALLED_DOCS_DIR="${CMAKE_INSTALL_PREFIX}/${KORVEL_INSTALL_DOCS_DIR}")

install(TARGETS korvel korvel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The guide is program data that Help reads at run time, so it lives beside
# the program's other data rather than in the documentation folder, which
# slim systems leave out.
install(DIRECTORY docs/ DESTINATION ${KORVEL_INSTALL_DOCS_DIR})
install(FILES resources/desktop/korvel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/icons/korvel.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VENDOR "KORVEL")
set(CPACK_PACKAGE_CONTACT "KORVEL maintainers <korvel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Digital oscilloscope with a simulated acquisition card")
# One string: a CMake list would reach the control file with its semicolons.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "KORVEL captures records of up to 65534 samples from a simulated acquisition card, "
       "shows them as oscillograms with cursors, zoom and a power spectrum, and reads and "
       "writes text and binary data files. korvel-cli does the same capture, conversion, "
       "measurement and pictures from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt libraries come from the programs' own links (shlibdeps); their
# platform plugins (xcb for the window, offscreen for korvel-cli) ship with
# libqt6gui6. Liberation Mono gives the plots Courier's metrics.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# Qt's Russian catalogue puts the file dialogs' and standard buttons' own
# texts into a Russian interface. The program works without it (those texts
# stay English) and an English interface never reads it, so it is
# recommended: installed by default, left out by a slim or English system.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# Instruments through libsigrok's C++ bindings, which reach GLib through
# glibmm; libsigrok itself, with its demo device, comes with libsigrokcxx4.
if(TARGET korvel_sigrok)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
         ", libsigrokcxx4 (>= 0.5.2), libglibmm-2.4-1v5 (>= 2.66)")
endif()
include(CPack)
