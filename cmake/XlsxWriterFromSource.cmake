# libxlsxwriter for the Windows drilbank-records, built from Debian's source package (which
# scripts/install-deps.sh --windows unpacks into build-deps/) and linked in statically, with
# the minizip and temporary-file code it ships and Debian's mingw zlib: no DLL beside the
# program. Defines drilbank_xlsxwriter when the source is there.
set(DRILBANK_XLSXWRITER_SOURCE "${PROJECT_SOURCE_DIR}/build-deps/libxlsxwriter" CACHE PATH
    "libxlsxwriter's source, built into the Windows drilbank-records")
if(NOT EXISTS "${DRILBANK_XLSXWRITER_SOURCE}/CMakeLists.txt")
    if(CMAKE_CROSSCOMPILING)
        message(FATAL_ERROR "libxlsxwriter's source is missing: run scripts/install-deps.sh --windows")
    endif()
    message(WARNING "No libxlsxwriter source in ${DRILBANK_XLSXWRITER_SOURCE}: "
        "drilbank-records is built without xlsx")
    return()
endif()

set(BUILD_SHARED_LIBS OFF)
set(BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(USE_SYSTEM_MINIZIP OFF CACHE BOOL "" FORCE)
set(USE_STANDARD_TMPFILE OFF CACHE BOOL "" FORCE)
add_subdirectory("${DRILBANK_XLSXWRITER_SOURCE}" xlsxwriter EXCLUDE_FROM_ALL SYSTEM)
# Not our code: its warnings are not ours to make errors of.
target_compile_options(xlsxwriter PRIVATE -w)
# Its static MinGW build asks for 32-bit file offsets, which would wrap past 2 GB of xlsx;
# MinGW has the 64-bit calls.
get_target_property(definitions xlsxwriter COMPILE_DEFINITIONS)
list(REMOVE_ITEM definitions USE_FILE32API)
set_target_properties(xlsxwriter PROPERTIES COMPILE_DEFINITIONS "${definitions}")
add_library(drilbank_xlsxwriter ALIAS xlsxwriter)
