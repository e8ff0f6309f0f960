# Shipped build: 32-bit PE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QV_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The tests run under Wine's 32-bit loader (wine32); without it the build still configures.
find_program(QV_WINE32 NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(QV_WINE32)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QV_WINE32})
endif()
