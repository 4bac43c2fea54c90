# Sanitizers.cmake - compiler and linker flags of the sanitized and the fuzz builds.
#
# Every target, GoogleTest included, is instrumented alike, so a report can come from any
# frame. Nothing recovers: the first report ends the process with a failure.
if(ZENTAVO_SANITIZE OR ZENTAVO_FUZZ)
  if(WIN32)
    message(FATAL_ERROR "The sanitized and fuzz builds are native only")
  endif()
  set(sanitizers address,undefined)
  add_compile_options(-fsanitize=${sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all -O1)
  add_link_options(-fsanitize=${sanitizers})
  if(ZENTAVO_FUZZ)
    # Coverage for libFuzzer in every object; only the fuzz targets link libFuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()
