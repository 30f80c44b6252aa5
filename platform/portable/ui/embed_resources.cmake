# cmake -DINPUT=<file.res> -DOUTPUT=<file.cpp> -P embed_resources.cmake
# Writes a C++ source that holds the bytes of INPUT and hands them to the
# dialog layer from a static initialiser.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
if(hex_length EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${INPUT}; do not edit.\n"
"#include \"platform/portable/ui/embedded_resources.h\"\n\n"
"namespace {\n"
"const unsigned char resourceBytes[] = {\n${bytes}\n};\n"
"[[maybe_unused]] const bool registered =\n"
"    corvant::ui::registerEmbeddedResources(resourceBytes, sizeof resourceBytes);\n"
"}  // namespace\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
