# Install-time steps, run by `cmake --install` (and by CPack) with the
# prefix and DESTDIR given then. Set before it: WOOLMERE_PACKAGING (this
# folder), WOOLMERE_BINDIR, WOOLMERE_DATAROOT, WOOLMERE_APP_DIR,
# WOOLMERE_DATA_DIR, WOOLMERE_GAME_DATA (the game's data files) and
# WOOLMERE_IDS (the programs' ids).
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# Relative links, so that the tree works wherever it is unpacked: bin/ to
# the programs, the application folders to their data.
file(MAKE_DIRECTORY "${root}/${WOOLMERE_BINDIR}")
foreach(program fleeceslot velreader)
  file(CREATE_LINK "../${WOOLMERE_APP_DIR}/${program}/${program}" "${root}/${WOOLMERE_BINDIR}/${program}" SYMBOLIC)
endforeach()
foreach(name ${WOOLMERE_GAME_DATA})
  file(CREATE_LINK "../../../${WOOLMERE_DATA_DIR}/fleeceslot/${name}" "${root}/${WOOLMERE_APP_DIR}/fleeceslot/${name}" SYMBOLIC)
endforeach()
foreach(name E Book)
  file(CREATE_LINK "../../../${WOOLMERE_DATA_DIR}/velreader/${name}" "${root}/${WOOLMERE_APP_DIR}/velreader/${name}" SYMBOLIC)
endforeach()

# The desktop entries start the installed programs by their full path.
set(FLEECESLOT_EXEC "${CMAKE_INSTALL_PREFIX}/${WOOLMERE_BINDIR}/fleeceslot")
set(VELREADER_EXEC "${CMAKE_INSTALL_PREFIX}/${WOOLMERE_BINDIR}/velreader")
set(applications "${root}/${WOOLMERE_DATAROOT}/applications")
foreach(id ${WOOLMERE_IDS})
  message(STATUS "Installing: ${applications}/${id}.desktop")
  configure_file("${WOOLMERE_PACKAGING}/${id}.desktop.in" "${applications}/${id}.desktop" @ONLY)
endforeach()
