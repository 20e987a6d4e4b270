# Writes a C++ source that holds a file's bytes, so that a resource stays a real file in the
# tree and is still built into the program:
#   cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DNAMESPACE=ns -DNAME=kName -P embed_file.cmake
# The source defines `const std::string_view ns::kName` over the bytes (no terminating NUL).
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REPEAT "[0-9a-f]" 32 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.new"
  "// Made from ${source} at build time by cmake/embed_file.cmake: edit that file, not this one.\n"
  "#include <string_view>\n\n"
  "namespace ${NAMESPACE} {\n"
  "namespace {\n"
  "constexpr unsigned char kBytes[${size} + 1] = {\n    ${bytes}0};\n"
  "}  // namespace\n"
  "extern const std::string_view ${NAME};\n"
  "const std::string_view ${NAME}(reinterpret_cast<const char*>(kBytes), ${size});\n"
  "}  // namespace ${NAMESPACE}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
