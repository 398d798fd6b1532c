# Installs the build into a fresh prefix and checks what a user gets: the program
# directory with every stand-in working from there, the `orvane` command, the samples,
# the desktop entry and the icon.
# -DBUILD_DIR=... -DPREFIX=... -DPROGRAMS=a,b,... -DSAMPLES=<kept samples folder>

cmake_minimum_required(VERSION 3.25)

function(fail)
  string(JOIN "" text ${ARGN})
  message(FATAL_ERROR "${text}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  fail("cmake --install failed (${result}):\n${output}")
endif()

string(REPLACE "," ";" programs "${PROGRAMS}")
foreach(name IN LISTS programs)
  if(NOT EXISTS "${PREFIX}/lib/orvane/${name}")
    fail("missing from the program directory: lib/orvane/${name}")
  endif()
endforeach()
if(NOT IS_SYMLINK "${PREFIX}/lib/orvane/tabulo.exe")
  fail("the stand-ins should stay links to the one stand-in program")
endif()

file(GLOB samples RELATIVE "${SAMPLES}" "${SAMPLES}/*")
list(FILTER samples EXCLUDE REGEX "^\\.")
if(NOT samples)
  fail("no kept samples in ${SAMPLES}")
endif()
foreach(name IN LISTS samples)
  if(NOT EXISTS "${PREFIX}/share/orvane/samples/${name}")
    fail("missing sample: share/orvane/samples/${name}")
  endif()
endforeach()

foreach(file bin/orvane share/icons/hicolor/scalable/apps/orvane.svg
             share/icons/hicolor/48x48/apps/orvane.png share/applications/orvane.desktop)
  if(NOT EXISTS "${PREFIX}/${file}")
    fail("missing: ${file}")
  endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/orvane.desktop" entry)
foreach(line "Exec=${PREFIX}/bin/orvane %f" "Icon=orvane" "Type=Application")
  if(NOT line IN_LIST entry)
    fail("the desktop entry lacks the line ${line}")
  endif()
endforeach()

# The installed stand-ins run from their new place.
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env "XDG_STATE_HOME=${PREFIX}/state"
          "${PREFIX}/lib/orvane/scalera.exe" "/?"
  RESULT_VARIABLE result OUTPUT_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output MATCHES "Scalera.exe - .*stand-in")
  fail("the installed scalera.exe does not answer /? (${result}): ${output}")
endif()
if(NOT EXISTS "${PREFIX}/state/kinemora/suite.log")
  fail("the installed stand-in wrote no log line")
endif()

# The command on PATH sets KINEMORA to the program directory, also when it is reached
# through a link elsewhere. A stand-in program takes the place of the real one here.
set(launch "${PREFIX}-launch")
file(REMOVE_RECURSE "${launch}")
file(COPY "${PREFIX}/bin/orvane" DESTINATION "${launch}/bin")
file(MAKE_DIRECTORY "${launch}/lib/orvane" "${launch}/elsewhere")
file(WRITE "${launch}/lib/orvane/orvane" "#!/bin/sh\necho \"KINEMORA=$KINEMORA args=$*\"\n")
file(CHMOD "${launch}/lib/orvane/orvane" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(CREATE_LINK "${launch}/bin/orvane" "${launch}/elsewhere/orvane" SYMBOLIC)
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env KINEMORA=/nowhere "${launch}/elsewhere/orvane" WALK01.RF
  RESULT_VARIABLE result OUTPUT_VARIABLE output)
file(REAL_PATH "${launch}/lib/orvane" expected)
if(NOT result EQUAL 0 OR NOT output STREQUAL "KINEMORA=${expected} args=WALK01.RF\n")
  fail("the orvane command started (${result}): ${output}")
endif()
file(REMOVE_RECURSE "${launch}" "${PREFIX}")
