# The last install step, run after every file is in place (set before it:
# the variables of install_steps.cmake). A user install (no DESTDIR)
# refreshes the desktop's caches, so that the first install already
# registers the book type, the menu entries and the icons, and puts an
# uninstall script beside the programs: PREFIX/lib/woolmere/uninstall. A
# package leaves all of that to the system's triggers and to dpkg.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(share "${CMAKE_INSTALL_PREFIX}/${WOOLMERE_DATAROOT}")
set(applications "${share}/applications")

find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND ${UPDATE_MIME} "${share}/mime" OUTPUT_QUIET ERROR_QUIET)
endif()
find_program(UPDATE_DESKTOP update-desktop-database)
if(UPDATE_DESKTOP)
  execute_process(COMMAND ${UPDATE_DESKTOP} -q "${applications}" OUTPUT_QUIET ERROR_QUIET)
endif()
# A user's icon folder has no theme index of its own: -t does without it.
find_program(UPDATE_ICONS gtk-update-icon-cache)
if(UPDATE_ICONS)
  execute_process(COMMAND ${UPDATE_ICONS} -q -t -f "${share}/icons/hicolor" OUTPUT_QUIET ERROR_QUIET)
endif()

# Every file this install put there: those CMake installed, and the links
# and menu entries install_steps.cmake made.
set(uninstall "${CMAKE_INSTALL_PREFIX}/${WOOLMERE_APP_DIR}/uninstall")
set(files ${CMAKE_INSTALL_MANIFEST_FILES})
foreach(program fleeceslot velreader)
  list(APPEND files "${CMAKE_INSTALL_PREFIX}/${WOOLMERE_BINDIR}/${program}")
endforeach()
foreach(name ${WOOLMERE_GAME_DATA})
  list(APPEND files "${CMAKE_INSTALL_PREFIX}/${WOOLMERE_APP_DIR}/fleeceslot/${name}")
endforeach()
foreach(name E Book)
  list(APPEND files "${CMAKE_INSTALL_PREFIX}/${WOOLMERE_APP_DIR}/velreader/${name}")
endforeach()
foreach(id ${WOOLMERE_IDS})
  list(APPEND files "${applications}/${id}.desktop")
endforeach()
list(APPEND files "${uninstall}")
list(REMOVE_DUPLICATES files)
# The folders that hold them, deepest first, up to the prefix.
set(folders)
foreach(f ${files})
  get_filename_component(dir "${f}" DIRECTORY)
  string(FIND "${dir}/" "${CMAKE_INSTALL_PREFIX}/" at)
  while(at EQUAL 0 AND NOT dir STREQUAL CMAKE_INSTALL_PREFIX)
    list(APPEND folders "${dir}")
    get_filename_component(dir "${dir}" DIRECTORY)
    string(FIND "${dir}/" "${CMAKE_INSTALL_PREFIX}/" at)
  endwhile()
endforeach()
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
# The prefix too, when nothing else is in it (a prefix made by the install).
list(APPEND folders "${CMAKE_INSTALL_PREFIX}")
list(JOIN files "\n" file_lines)
list(JOIN folders "\n" folder_lines)
# Quoted for the shell: a ' in the path becomes '\''.
string(REPLACE "'" "'\\''" quoted_share "${share}")
string(REPLACE "'" "'\\''" quoted_prefix "${CMAKE_INSTALL_PREFIX}")

message(STATUS "Installing: ${uninstall}")
file(WRITE "${uninstall}" "#!/bin/sh
# Removes Woolmere (fleeceslot) and Velin-Reader (velreader) as they were
# installed into ${CMAKE_INSTALL_PREFIX}: every file the install put there,
# the links and menu entries, and the desktop's caches where nothing else
# needs them (else the caches are brought up to date). The files the
# programs wrote for you (scores, settings, books) are left alone.
set -u
share='${quoted_share}'
while IFS= read -r f; do
  if [ -L \"$f\" ] || [ -f \"$f\" ]; then rm -f \"$f\"; fi
done <<'FILES'
${file_lines}
FILES

if [ -d \"$share/mime\" ]; then
  if [ -z \"$(ls -A \"$share/mime/packages\" 2>/dev/null)\" ]; then
    rm -rf \"$share/mime\"
  elif command -v update-mime-database > /dev/null; then
    update-mime-database \"$share/mime\" > /dev/null 2>&1
  fi
fi
if [ -d \"$share/applications\" ]; then
  if ! ls \"$share/applications\"/*.desktop > /dev/null 2>&1; then
    rm -f \"$share/applications/mimeinfo.cache\"
  elif command -v update-desktop-database > /dev/null; then
    update-desktop-database -q \"$share/applications\"
  fi
fi
if [ -d \"$share/icons/hicolor\" ]; then
  if [ -z \"$(find \"$share/icons/hicolor\" -mindepth 2 -type f 2>/dev/null | head -n 1)\" ]; then
    rm -f \"$share/icons/hicolor/icon-theme.cache\"
  elif command -v gtk-update-icon-cache > /dev/null; then
    gtk-update-icon-cache -q -t -f \"$share/icons/hicolor\"
  fi
fi

# The folders the install filled, where they are empty now.
while IFS= read -r d; do
  rmdir \"$d\" 2> /dev/null || true
done <<'FOLDERS'
${folder_lines}
FOLDERS
echo 'Woolmere and Velin-Reader are uninstalled from ${quoted_prefix}.'
")
file(CHMOD "${uninstall}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
