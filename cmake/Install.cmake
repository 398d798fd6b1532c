# Installation: the program directory as the build assembles it, under
# <prefix>/lib/orvane; an `orvane` command on PATH that starts it with KINEMORA set;
# the sample trials; a desktop entry and an icon, so Orvane shows in the desktop's
# application menu.

if(NOT ORVANE_PROGRAM_DIR)
  message(FATAL_ERROR "Include Install.cmake after ORVANE_PROGRAM_DIR is set")
endif()
set(ORVANE_INSTALL_PROGRAM_DIR lib/orvane)
set(ORVANE_SHARE_SOURCE ${CMAKE_SOURCE_DIR}/suite/share)

# Everything in the program directory: the executable, the suite's stand-ins (kept
# as links to the one stand-in program), rfdump, rfstats, help texts and manuals.
install(DIRECTORY ${ORVANE_PROGRAM_DIR}/
  DESTINATION ${ORVANE_INSTALL_PROGRAM_DIR}
  USE_SOURCE_PERMISSIONS)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/suite/samples/
  DESTINATION share/orvane/samples
  PATTERN ".*" EXCLUDE)

install(PROGRAMS ${ORVANE_SHARE_SOURCE}/orvane.sh DESTINATION bin RENAME orvane)

install(FILES ${ORVANE_SHARE_SOURCE}/orvane.svg
  DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${ORVANE_SHARE_SOURCE}/orvane-48.png
  DESTINATION share/icons/hicolor/48x48/apps RENAME orvane.png)

# The desktop entry names the launcher by its full path, which is known only when
# installing (cmake --install --prefix may choose another prefix than the build's).
install(CODE "
  set(ORVANE_DESKTOP_TEMPLATE \"${ORVANE_SHARE_SOURCE}/orvane.desktop.in\")
  set(ORVANE_DESKTOP_STAGING \"${CMAKE_BINARY_DIR}/install-staging\")
  include(\"${ORVANE_SHARE_SOURCE}/InstallDesktopEntry.cmake\")
")
