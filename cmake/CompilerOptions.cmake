# Warnings and sanitizers shared by every target of the project.
add_library(zentrik_options INTERFACE)
target_compile_options(zentrik_options INTERFACE -Wall -Wextra)
if(ZENTRIK_WERROR)
  target_compile_options(zentrik_options INTERFACE -Werror)
endif()
# Every module includes its headers as "module/file.h" from the source root.
target_include_directories(zentrik_options INTERFACE ${PROJECT_SOURCE_DIR})

if(ZENTRIK_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()
# Sanitizer settings compiled into every executable (harmless in other builds).
add_library(zentrik_sanitizer_defaults OBJECT ${CMAKE_CURRENT_LIST_DIR}/lsan_suppressions.cpp
                                              ${CMAKE_CURRENT_LIST_DIR}/tsan_suppressions.cpp)

if(ZENTRIK_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# zentrik_module(NAME SOURCES... [DEPS ...]): one static library per module folder.
function(zentrik_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${M_SOURCES})
  target_link_libraries(${name} PUBLIC zentrik_options ${M_DEPS})
endfunction()
