# Warnings are on for our own targets and kept clean.
add_library(kestrel_warnings INTERFACE)
target_compile_options(kestrel_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
  -Wcast-align -Wnull-dereference -Wimplicit-fallthrough -Wformat=2
  # GCC 12 reports std::string copies in optimised builds as overlapping
  # (a known false positive of the compiler).
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>
  # A unity build compiles several sources as one; a test fixture in its own
  # file's anonymous namespace is then wrongly taken for one in a header.
  $<$<AND:$<CXX_COMPILER_ID:GNU>,$<BOOL:${CMAKE_UNITY_BUILD}>>:-Wno-subobject-linkage>)
