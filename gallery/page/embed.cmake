# Writes OUTPUT, a C++ source whose live_page_script() returns the text of
# INPUT as it is in the repository; run by the build whenever INPUT changes.
file(READ "${INPUT}" text)
string(FIND "${text}" ")isf2orvy_page\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds the raw string's closing delimiter")
endif()
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT} by embed.cmake.\n#include \"page_script.h\"\n\nnamespace gallery {\n\nstd::string_view live_page_script() {\n  return R\"isf2orvy_page(${text})isf2orvy_page\";\n}\n\n}  // namespace gallery\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
