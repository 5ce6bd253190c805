# Turns a text file into a C++ source that defines
#   std::string_view <NAMESPACE>::<FUNCTION>()
# returning the file's bytes, so programs carry the data without a run-time path.
# Run as: cmake -DIN=file -DOUT=file.cpp -DNAMESPACE=ns -DFUNCTION=name -P EmbedText.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line keeps the generated file readable in a diff tool.
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${IN}" NAME)
file(WRITE "${OUT}.tmp"
"// Generated from ${name} by EmbedText.cmake; edit the data file instead.
#include <cstddef>
#include <string_view>

namespace ${NAMESPACE} {
namespace {
const unsigned char kBytes[${size} + 1] = {
${bytes}0x00};
}  // namespace

std::string_view ${FUNCTION}()
{
    return {reinterpret_cast<const char*>(kBytes), ${size}};
}
}  // namespace ${NAMESPACE}
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
