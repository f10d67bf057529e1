# Package configuration of the installed kit. A host project writes
#   find_package(quarvo_pavrik 2.1 REQUIRED)
#   target_link_libraries(host PRIVATE quarvo_pavrik::quarvo quarvo_pavrik::pavrik)
# and gets the import library and the header directory of each DLL.
# $<TARGET_RUNTIME_DLLS:host> names the DLLs to copy beside the host program.
get_filename_component(_quarvo_pavrik_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)

foreach(_quarvo_pavrik_library quarvo pavrik)
  if(NOT TARGET quarvo_pavrik::${_quarvo_pavrik_library})
    add_library(quarvo_pavrik::${_quarvo_pavrik_library} SHARED IMPORTED)
    set_target_properties(quarvo_pavrik::${_quarvo_pavrik_library} PROPERTIES
      IMPORTED_LOCATION "${_quarvo_pavrik_prefix}/bin/${_quarvo_pavrik_library}.dll"
      IMPORTED_IMPLIB "${_quarvo_pavrik_prefix}/lib/lib${_quarvo_pavrik_library}.a"
      INTERFACE_INCLUDE_DIRECTORIES "${_quarvo_pavrik_prefix}/include")
  endif()
endforeach()

unset(_quarvo_pavrik_library)
unset(_quarvo_pavrik_prefix)
