# Hook DLLs are mapped into every GUI process on the desktop: they link no C
# or C++ runtime and have no static constructors, exceptions, RTTI or TLS.
set(KESTROW_NO_RUNTIME_FLAGS
    -ffreestanding -fno-exceptions -fno-rtti -fno-stack-protector -fno-stack-check
    -fno-tree-loop-distribute-patterns -fno-threadsafe-statics)
# On x64 a window procedure reached through the hook's sends runs inside the
# hook's frames: an exception the host program catches further up must be
# able to unwind through them, so they keep their unwind tables (.pdata).
# x86 unwinds by frame chains and needs none.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  list(APPEND KESTROW_NO_RUNTIME_FLAGS -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()

# The entry point's name is decorated on x86 (stdcall) and plain on x64.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KESTROW_DLL_ENTRY _DllEntry@12)
else()
  set(KESTROW_DLL_ENTRY DllEntry)
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Links a runtime-free hook DLL from the given sources and module-definition file.
function(kestrow_runtime_free_dll target def)
  add_library(${target} SHARED ${ARGN} ${def})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${target})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(${target} PRIVATE ${KESTROW_NO_RUNTIME_FLAGS})
  target_link_options(${target} PRIVATE -nostdlib -nostartfiles -Wl,--entry,${KESTROW_DLL_ENTRY}
                      -Wl,--enable-stdcall-fixup -Wl,--kill-at -Wl,--no-insert-timestamp -s)
  target_link_libraries(${target} PRIVATE kernel32 user32)
  # Run from the swap file when it lies on removable or network media: pages
  # read in later from a pulled stick or a dropped share would fault inside
  # every program that maps it.
  add_custom_command(TARGET ${target} POST_BUILD
                     COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/pe_swaprun.py $<TARGET_FILE:${target}>
                     VERBATIM)
  kestrow_warnings(${target})
endfunction()

