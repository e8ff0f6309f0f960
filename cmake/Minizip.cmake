# The unzip half of minizip, compiled from the Debian source package that scripts/setup fetches
# into build/deps, over the static mingw zlib: the shipped programs may not need zlib1.dll.
#
# Defines qv_minizip (static). Its include directories carry unzip.h and iowin32.h.

file(GLOB QV_MINIZIP_CANDIDATES LIST_DIRECTORIES true "${CMAKE_SOURCE_DIR}/build/deps/minizip-*")
set(QV_MINIZIP_DIR "")
foreach(candidate IN LISTS QV_MINIZIP_CANDIDATES)
  if(IS_DIRECTORY "${candidate}" AND EXISTS "${candidate}/unzip.c")
    set(QV_MINIZIP_DIR "${candidate}")
  endif()
endforeach()
if(NOT QV_MINIZIP_DIR)
  message(FATAL_ERROR
    "minizip sources not found under ${CMAKE_SOURCE_DIR}/build/deps/minizip-*/: "
    "run scripts/setup, which fetches them with apt-get source.")
endif()
message(STATUS "minizip sources: ${QV_MINIZIP_DIR}")

# The import library would come first in the default suffix order; only the archive will do.
find_library(QV_ZLIB_STATIC NAMES libz.a)
find_path(QV_ZLIB_INCLUDE NAMES zlib.h)
if(NOT QV_ZLIB_STATIC OR NOT QV_ZLIB_INCLUDE)
  message(FATAL_ERROR "static zlib for ${CMAKE_SYSTEM_PROCESSOR} not found: install libz-mingw-w64-dev "
    "(scripts/setup does).")
endif()

add_library(qv_minizip STATIC
  ${QV_MINIZIP_DIR}/unzip.c
  ${QV_MINIZIP_DIR}/ioapi.c
  ${QV_MINIZIP_DIR}/iowin32.c)
# Archives are only read, never written or decrypted.
target_compile_definitions(qv_minizip PRIVATE NOUNCRYPT)
# Not our code: its warnings are not ours to fix.
target_compile_options(qv_minizip PRIVATE -w)
target_include_directories(qv_minizip SYSTEM PUBLIC ${QV_MINIZIP_DIR} ${QV_ZLIB_INCLUDE})
target_link_libraries(qv_minizip PUBLIC ${QV_ZLIB_STATIC})
