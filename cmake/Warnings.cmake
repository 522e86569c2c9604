# Project-wide warning and sanitizer flags, applied through quillon_set_warnings().
if(QUILLON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(quillon_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QUILLON_SANITIZE)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A library of one source folder: its public headers sit beside the sources and are
# included as "folder/Header.h".
function(quillon_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  quillon_set_warnings(${name})
endfunction()

# The sources of a folder: every .cpp in it, less the files of the other OS.
# Files ending in Win.cpp build only on Windows, files ending in Linux.cpp only elsewhere.
function(quillon_folder_sources out dir)
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  if(WIN32)
    list(FILTER all EXCLUDE REGEX "Linux\\.cpp$")
  else()
    list(FILTER all EXCLUDE REGEX "Win\\.cpp$")
  endif()
  set(${out} ${all} PARENT_SCOPE)
endfunction()
