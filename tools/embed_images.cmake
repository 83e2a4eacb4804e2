# Turns every file in IMAGE_DIR into a byte array in the C++ include file OUTPUT, plus a table
# of {name, data, size} where name is the file name without its extension. Run by the build
# with: cmake -DIMAGE_DIR=... -DOUTPUT=... -P embed_images.cmake
if(NOT IMAGE_DIR OR NOT OUTPUT)
  message(FATAL_ERROR "embed_images.cmake needs IMAGE_DIR and OUTPUT")
endif()

file(GLOB files LIST_DIRECTORIES false "${IMAGE_DIR}/*")
list(SORT files)
# CMake's regular expressions have no counted repetition, so a row of 16 bytes is spelled out.
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 row)
set(arrays "")
set(table "")
foreach(path IN LISTS files)
  get_filename_component(file_name "${path}" NAME)
  get_filename_component(stem "${path}" NAME_WE)
  file(SIZE "${path}" size)
  if(size EQUAL 0)
    continue()
  endif()
  string(MAKE_C_IDENTIFIER "kImage_${file_name}" symbol)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(${row})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "// ${file_name}\nstatic constexpr unsigned char ${symbol}[] = {\n    ${bytes}};\n\n")
  string(APPEND table "    {\"${stem}\", ${symbol}, sizeof(${symbol})},\n")
endforeach()

set(text "// Generated at build time from elements/images/ by tools/embed_images.cmake; do not edit.\n\n")
string(APPEND text "${arrays}")
string(APPEND text "static constexpr BuiltinImageData kBuiltinImageTable[] = {\n${table}};\n")

# Rewrite only on change, so unchanged images do not rebuild what includes the table.
file(WRITE "${OUTPUT}.tmp" "${text}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
