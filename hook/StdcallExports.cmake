# Gives a MinGW-built DLL with stdcall exports plain export names
# (StartMouseKeyHook, not StartMouseKeyHook@4), the names every Windows program
# expects, and an import library that still resolves the decorated names the
# compiler emits when a caller calls the functions. The linker's own import
# library would carry the plain names only, so it is rebuilt from the .def file,
# which lists each export with the byte count of its arguments.
function(kelvo_stdcall_exports target def_file)
  target_sources(${target} PRIVATE ${def_file})
  if(MINGW)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_DLLTOOL} --input-def ${def_file} --dllname $<TARGET_FILE_NAME:${target}>
              --kill-at --output-lib $<TARGET_LINKER_FILE:${target}>
      VERBATIM)
  endif()
endfunction()
