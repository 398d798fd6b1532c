# Run at install time: writes the desktop entry with the launcher's full path under
# the chosen prefix. Expects ORVANE_DESKTOP_TEMPLATE and ORVANE_DESKTOP_STAGING.
set(launcher "${CMAKE_INSTALL_PREFIX}/bin/orvane")
set(exec "${launcher}")
if(NOT exec MATCHES "^[A-Za-z0-9/._+-]+$")
  # Quoted as desktop entries want it: a backslash becomes four, and " ` $ take two
  # backslashes before them; a % is doubled.
  string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
  string(REGEX REPLACE "([\"`$])" "\\\\\\\\\\1" exec "${exec}")
  string(REPLACE "%" "%%" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
file(READ "${ORVANE_DESKTOP_TEMPLATE}" entry)
string(REPLACE "@ORVANE_EXEC@" "${exec}" entry "${entry}")
string(REPLACE "@ORVANE_LAUNCHER@" "${launcher}" entry "${entry}")
file(WRITE "${ORVANE_DESKTOP_STAGING}/orvane.desktop" "${entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
  FILES "${ORVANE_DESKTOP_STAGING}/orvane.desktop")
