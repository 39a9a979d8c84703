# Debug builds check every index and iterator of the standard containers, so
# that a read one past the end aborts the test instead of reading garbage.
add_compile_definitions($<$<CONFIG:Debug>:_GLIBCXX_ASSERTIONS>)
if(KESTREL_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(KESTREL_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT KESTREL_SANITIZE STREQUAL "")
  message(FATAL_ERROR "Unknown KESTREL_SANITIZE value '${KESTREL_SANITIZE}'")
endif()
