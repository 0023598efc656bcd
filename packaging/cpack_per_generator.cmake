# Read by cpack for each generator: the .deb takes the installed layout, the archives the
# portable folder, which they unpack into a folder of their own; the Windows installer takes
# the portable folder's files into the folder the user picks.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL installed)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
elseif(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_ARCHIVE_FILE_NAME}-setup)
  set(CPACK_MONOLITHIC_INSTALL ON)  # one tree, the only component there is
else()
  set(CPACK_COMPONENTS_ALL portable)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
