# kestrow_delay_load(TARGET DLL FUNCTION...): TARGET loads DLL at the first
# call of one of the functions instead of at its start, for DLLs a program
# needs only when the user asks for something (a dialog, a link, a screen
# reader). A function of the DLL that is not named here is imported as usual,
# which loads the DLL at start again.
#
# x64 only: the x86 delay-import thunks of binutils 2.40 jump to a null
# address, so an x86 program imports the DLL as usual.
function(kestrow_delay_load target dll)
  get_filename_component(base ${dll} NAME_WE)
  string(TOLOWER ${base} base)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_libraries(${target} PRIVATE ${base})
    return()
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/delay_load)
  set(def ${dir}/${target}_${base}.def)
  set(lib ${dir}/lib${target}_${base}_delay.a)
  set(text "LIBRARY ${dll}\nEXPORTS\n")
  foreach(function ${ARGN})
    string(APPEND text "${function}\n")
  endforeach()
  file(WRITE ${def} ${text})
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib}
    DEPENDS ${def} VERBATIM)
  add_custom_target(${target}_delay_${base} DEPENDS ${lib})
  add_dependencies(${target} ${target}_delay_${base})
  # Before the libraries the target's own depend on, so these bind first.
  target_link_libraries(${target} PRIVATE ${lib} delayimp)
endfunction()
