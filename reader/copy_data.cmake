# Copies the reader's data folders "E" and "Book" from SOURCE into the
# application folder DESTINATION; a folder that does not exist yet is skipped.
foreach(folder E Book)
  file(MAKE_DIRECTORY "${DESTINATION}/${folder}")
  file(GLOB files LIST_DIRECTORIES false "${SOURCE}/${folder}/*")
  if(files)
    file(COPY ${files} DESTINATION "${DESTINATION}/${folder}")
  endif()
endforeach()
