# CPack: a Debian package from a Linux build, a zip from the Windows build,
# both named with the project's version. They hold exactly what the install
# rules install; test programs have none, so no package carries them.
set(CPACK_PACKAGE_NAME isf2orvy)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The isf2orvy developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of ISF shaders into ORVANE GLSL plug-ins")
set(CPACK_PACKAGE_DESCRIPTION
    "isf2orvy converts ISF shaders (.fs: a GLSL fragment shader opening with a JSON
header comment) into the GLSL plug-in text (.frag) that the ORVANE video host
loads as an effect: parameter macro lines, host uniforms and a plain GLSL body.
It converts one shader or every .fs file of a folder per run.
isf2orvy-preview renders one frame of a converted shader offscreen and writes
it as a PNG image. isf2orvy-gallery converts a whole library, compiles every
result as the host would, places each compiler message on the shader's own
line, renders what compiles and writes one static HTML page and a JSON report.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(ISF2ORVY_PACKAGE_MAINTAINER "The isf2orvy developers <isf2orvy@example.org>"
      CACHE STRING "Maintainer field of the Debian package: Name <address>")
  set(ISF2ORVY_PACKAGE_HOMEPAGE "" CACHE STRING "Homepage field of the Debian package, if any")
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # isf2orvy_<version>-1_<arch>.deb
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ISF2ORVY_PACKAGE_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  if(ISF2ORVY_PACKAGE_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ISF2ORVY_PACKAGE_HOMEPAGE}")
  endif()
  # Runtime dependencies from the programs themselves (dpkg-shlibdeps): the
  # C++ runtime for all, Mesa's OSMesa and libpng for the renderers.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
