# Read by cpack once for each generator: the tarball for other Linux systems holds the converter
# alone, below one folder named like the tarball.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_COMPONENTS_ALL tamsel)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_ARCHIVE_TAMSEL_FILE_NAME}")
endif()
