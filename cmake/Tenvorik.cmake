# Sources of a target are the .cpp files of its folders; adding a file needs no CMake edit.
function(tv_sources out)
  set(result)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND result ${found})
  endforeach()
  list(SORT result)
  if(NOT result)
    # A target whose folders are still empty builds from one empty unit.
    string(MAKE_C_IDENTIFIER "${out}" id)
    set(empty ${CMAKE_BINARY_DIR}/empty/${id}.cpp)
    file(CONFIGURE OUTPUT ${empty} CONTENT "// intentionally empty\n")
    set(result ${empty})
  endif()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# A string table is every resources/<module>/<lang>/*.inc file, each a list of
# TV_STR(id, L"text") lines, gathered into one generated source.
function(tv_write_table module lang symbol out)
  file(GLOB incs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/${module}/${lang}/*.inc)
  list(SORT incs)
  set(body "")
  foreach(inc IN LISTS incs)
    string(APPEND body "#include \"${inc}\"\n")
  endforeach()
  set(content "// Generated from resources/${module}/${lang}/*.inc; do not edit.\n#include \"platform/StringTable.h\"\n#define TV_STR(id, text) {id, text},\nnamespace {\nconst platform::StringEntry kEntries[] = {\n${body}{0, nullptr}};\n}\n${symbol}\n")
  set(path ${CMAKE_BINARY_DIR}/strings/${module}_${lang}.cpp)
  file(CONFIGURE OUTPUT ${path} CONTENT "${content}" @ONLY)
  set(${out} ${path} PARENT_SCOPE)
endfunction()

function(tv_string_table module out)
  tv_write_table(${module} ru
    "platform::StringTableView ${module}_builtin_strings() { return {kEntries, sizeof(kEntries) / sizeof(kEntries[0]) - 1}; }"
    path)
  set(${out} ${path} PARENT_SCOPE)
endfunction()

function(tv_english_library target module)
  tv_write_table(${module} en
    "extern \"C\" __attribute__((visibility(\"default\"))) const platform::StringEntry* ResEngStringTable(unsigned long* count) { *count = sizeof(kEntries) / sizeof(kEntries[0]) - 1; return kEntries; }"
    path)
  add_library(${target} SHARED ${path})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  set_target_properties(${target} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${TENVORIK_LANG_DIR})
endfunction()
