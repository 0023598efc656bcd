# vr_windows_manifest(TARGET): on Windows the program carries cmake/windows/program.manifest.
# MSVC's linker merges a .manifest source into the one it writes; mingw embeds it through a
# resource script.
set(VR_PROGRAM_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/windows/program.manifest)
if(WIN32 AND NOT MSVC)
  enable_language(RC)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/program.rc.in ${CMAKE_BINARY_DIR}/program_manifest.rc @ONLY)
endif()

function(vr_windows_manifest target)
  if(MSVC)
    target_sources(${target} PRIVATE ${VR_PROGRAM_MANIFEST})
  elseif(WIN32)
    target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/program_manifest.rc)
  endif()
endfunction()

# vr_wide_main(TARGET): the program's entry point is wmain, which gets its arguments as UTF-16.
function(vr_wide_main target)
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()
