# With KESTREL_FUZZ every target is built with coverage instrumentation for
# libFuzzer and with AddressSanitizer and UndefinedBehaviorSanitizer; the fuzz
# targets themselves link libFuzzer's driver (see fuzz/CMakeLists.txt).
if(KESTREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KESTREL_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  if(NOT KESTREL_CORE_ONLY)
    message(FATAL_ERROR "KESTREL_FUZZ builds the core only: add -DKESTREL_CORE_ONLY=ON")
  endif()
  if(NOT KESTREL_SANITIZE STREQUAL "")
    message(FATAL_ERROR "KESTREL_FUZZ brings its own sanitizers: leave KESTREL_SANITIZE empty")
  endif()
  # -O1 (with the checks of a Debug build kept) runs several times as many
  # inputs a second as -O0.
  add_compile_options(-O1 -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
