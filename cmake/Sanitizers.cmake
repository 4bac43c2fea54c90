# Sanitizers.cmake - compiler and linker flags of the sanitized and the fuzz builds.
#
# Our own targets are instrumented (zentavo_target adds ZENTAVO_SANITIZER_OPTIONS); every
# executable links the sanitizer runtimes. GoogleTest itself is left uninstrumented, which
# keeps the build several times faster. Nothing recovers: the first report ends the process
# with a failure.
set(ZENTAVO_SANITIZER_OPTIONS "")
if(ZENTAVO_SANITIZE OR ZENTAVO_FUZZ)
  if(WIN32)
    message(FATAL_ERROR "The sanitized and fuzz builds are native only")
  endif()
  set(sanitizers address,undefined)
  set(ZENTAVO_SANITIZER_OPTIONS -fsanitize=${sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  if(ZENTAVO_FUZZ)
    # Coverage for libFuzzer in every object of ours; only the fuzz targets link its main.
    list(APPEND ZENTAVO_SANITIZER_OPTIONS -fsanitize=fuzzer-no-link)
  endif()
  add_link_options(-fsanitize=${sanitizers})
endif()
