# Turns the editable "usage scancode" lines into the built-in table resource: UTF-16LE text with a
# byte-order mark, lines joined by CR LF, no line break after the last line.
# Usage: cmake -DINPUT=scancode_table.txt -DOUTPUT=scancode_table_data.cpp -P this-file
file(STRINGS "${INPUT}" lines)
set(bytes "0xFF,0xFE")
set(first TRUE)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "")
    continue()
  endif()
  if(NOT line MATCHES "^[0-9]+ [0-9]+$")
    message(FATAL_ERROR "scan-code table: bad line '${line}'")
  endif()
  if(NOT first)
    string(APPEND bytes ",0x0D,0x00,0x0A,0x00")
  endif()
  set(first FALSE)
  string(LENGTH "${line}" n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE ${last})
    string(SUBSTRING "${line}" ${i} 1 ch)
    string(HEX "${ch}" hex)
    string(APPEND bytes ",0x${hex},0x00")
  endforeach()
endforeach()
file(WRITE "${OUTPUT}.tmp"
  "// Generated from scancode_table.txt; do not edit.\n"
  "#include \"res/scancode/scancode_table.h\"\n\n"
  "namespace zentrik::res {\nnamespace {\n"
  "const unsigned char kBytes[] = {${bytes}};\n"
  "}  // namespace\n\n"
  "std::string_view scancode_table_resource() {\n"
  "    return {reinterpret_cast<const char*>(kBytes), sizeof kBytes};\n}\n\n"
  "}  // namespace zentrik::res\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
