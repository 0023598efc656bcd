# vr_windows_manifest(TARGET KIND): on Windows the program carries cmake/windows/KIND.manifest
# (program or window). MSVC's linker merges a .manifest source into the one it writes; mingw
# embeds it through a resource script.
if(WIN32 AND NOT MSVC)
  enable_language(RC)
endif()

function(vr_windows_manifest target kind)
  set(VR_MANIFEST ${PROJECT_SOURCE_DIR}/cmake/windows/${kind}.manifest)
  if(MSVC)
    target_sources(${target} PRIVATE ${VR_MANIFEST})
  elseif(WIN32)
    set(script ${CMAKE_BINARY_DIR}/${kind}_manifest.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/manifest.rc.in ${script} @ONLY)
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${VR_MANIFEST})  # rebuilt when it changes
    target_sources(${target} PRIVATE ${script})
  endif()
endfunction()

# vr_wide_main(TARGET): the program's entry point is wmain, which gets its arguments as UTF-16.
function(vr_wide_main target)
  if(MINGW)
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()

# vr_utf8_main(TARGET): the program defines utf8Main (common/utf8_main.h); this adds the
# platform's main or wmain that calls it.
function(vr_utf8_main target)
  if(WIN32)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/common/utf8_main_windows.cpp)
  else()
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/common/utf8_main_posix.cpp)
  endif()
  vr_wide_main(${target})
endfunction()
