# ZentavoTarget.cmake - the compiler settings every target of ours gets.
#
# Sources are UTF-8; the program works in code page 932, so string literals are converted
# to it at compile time. Warnings are errors everywhere. Only GCC can convert the literals;
# clang is used for the fuzz build alone, where the messages' bytes do not matter.
function(zentavo_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror ${ZENTAVO_SANITIZER_OPTIONS})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -fexec-charset=CP932)
  elseif(NOT ZENTAVO_FUZZ)
    message(FATAL_ERROR "Only GCC converts string literals to code page 932; build with g++")
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
    get_target_property(kind ${target} TYPE)
    if(kind STREQUAL "EXECUTABLE")
      # Only system DLLs at run time: the MinGW runtime is linked in.
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  endif()
endfunction()
