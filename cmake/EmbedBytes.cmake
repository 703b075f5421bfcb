# Writes a file's bytes as a C++ header: cmake -DINPUT=file -DOUTPUT=header.h
# -DNAME=kName -DWHAT="comment" -P EmbedBytes.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
if(length EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    "
       bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
     "// Generated at build time from ${WHAT}; do not edit.\n"
     "#pragma once\n#include <cstdint>\n\n"
     "inline constexpr std::uint8_t ${NAME}[] = {\n    ${bytes}\n};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
