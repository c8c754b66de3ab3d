# nlohmann::json for a cross build: the library is header-only, so the host's
# Debian headers serve any target. Only their own folder goes on the include
# path (through a link in the build tree); the whole host /usr/include would
# shadow the cross compiler's C library headers.
set(ISF2ORVY_NLOHMANN_JSON_DIR /usr/include/nlohmann CACHE PATH
    "Folder of the nlohmann::json headers (the one holding json.hpp)")

set(json_version_header ${ISF2ORVY_NLOHMANN_JSON_DIR}/detail/abi_macros.hpp)
if(NOT EXISTS ${ISF2ORVY_NLOHMANN_JSON_DIR}/json.hpp OR NOT EXISTS ${json_version_header})
  message(FATAL_ERROR "nlohmann::json 3.11 or later not found in ${ISF2ORVY_NLOHMANN_JSON_DIR} "
                      "(Debian package nlohmann-json3-dev)")
endif()
file(STRINGS ${json_version_header} json_version_lines
     REGEX "#define NLOHMANN_JSON_VERSION_(MAJOR|MINOR) [0-9]+")
string(REGEX REPLACE ".*MAJOR ([0-9]+).*" "\\1" json_major "${json_version_lines}")
string(REGEX REPLACE ".*MINOR ([0-9]+).*" "\\1" json_minor "${json_version_lines}")
if("${json_major}.${json_minor}" VERSION_LESS 3.11)
  message(FATAL_ERROR "nlohmann::json ${json_major}.${json_minor} found, 3.11 or later needed")
endif()

set(json_include_root ${CMAKE_BINARY_DIR}/cross-include)
file(MAKE_DIRECTORY ${json_include_root})
file(CREATE_LINK ${ISF2ORVY_NLOHMANN_JSON_DIR} ${json_include_root}/nlohmann SYMBOLIC COPY_ON_ERROR)

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${json_include_root})
message(STATUS "nlohmann::json ${json_major}.${json_minor} headers from ${ISF2ORVY_NLOHMANN_JSON_DIR}")
