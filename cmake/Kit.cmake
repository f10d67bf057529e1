# The kit a host developer installs with `cmake --install`: both DLLs (bin/),
# their import libraries (lib/), the host header (include/) and a CMake
# package configuration with the imported targets quarvo_pavrik::quarvo and
# quarvo_pavrik::pavrik (lib/cmake/quarvo_pavrik/).
include(CMakePackageConfigHelpers)

foreach(library quarvo pavrik)
  install(FILES $<TARGET_FILE:${library}> DESTINATION bin)
  # The import library dlltool makes from the .def file. The lib*.dll.a that
  # CMake writes beside it binds names the DLL does not export.
  install(FILES ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/lib${library}.a DESTINATION lib)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/common/quarvo_pavrik.h DESTINATION include)

# The version file also turns away a 64-bit host project.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quarvo_pavrikConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/quarvo_pavrikConfig.cmake
              ${PROJECT_BINARY_DIR}/quarvo_pavrikConfigVersion.cmake
        DESTINATION lib/cmake/quarvo_pavrik)
