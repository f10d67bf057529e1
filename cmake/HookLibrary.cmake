# Builds a hook DLL that is safe to load into any process: no C runtime, no
# start-up code, no exceptions or RTTI, imports from KERNEL32 and USER32 only,
# stdcall exports under plain names (from NAME.def), and an import library
# whose decorated symbols (Name@N) bind to those plain names.

set(HOOK_LIBRARY_COMPILE_OPTIONS
  -Wall -Wextra -Werror
  -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-stack-protector -fno-threadsafe-statics)

function(add_hook_library name)
  cmake_parse_arguments(ARG "" "DEF" "SOURCES" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name})
  target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${HOOK_LIBRARY_COMPILE_OPTIONS}>)
  target_link_libraries(${name} PRIVATE hook_common)
  target_link_options(${name} PRIVATE
    -nostdlib -s -Wl,--entry,_DllMain@12 -Wl,--kill-at
    ${ARG_DEF})
  # Static libgcc only for helpers the compiler may call; it imports nothing.
  target_link_libraries(${name} PRIVATE kernel32 user32 gcc)

  set(implib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/lib${name}.a)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_DLLTOOL} --kill-at --def ${ARG_DEF} --dllname ${name}.dll --output-lib ${implib}
    BYPRODUCTS ${implib}
    COMMENT "Import library lib${name}.a")
  add_library(${name}::import STATIC IMPORTED GLOBAL)
  set_target_properties(${name}::import PROPERTIES IMPORTED_LOCATION ${implib}
    INTERFACE_INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/common)
  add_dependencies(${name}::import ${name})
endfunction()
