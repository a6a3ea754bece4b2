# `make package`: one Debian package holding everything the install rules
# put under the prefix, whichever components they name (none, or the
# library's), with its dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The QUARN authors")
set(CPACK_PACKAGE_CONTACT "The QUARN authors <quarn@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL OFF)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shared library among the install rules gets its shlibs entry (and the
# ldconfig call) for programs built against it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What no linked library says: the GL and EGL libraries SDL loads at run
# time, the driver that draws on screen and offscreen, and the font the
# window's text is set in; and, though linked, the runtime of the navigation
# meshes (Recast and Detour), so the package states it whatever it links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libgl1, libegl1, libgl1-mesa-dri, libegl-mesa0, fonts-dejavu-core, librecast1")
# CPack indents the lines after the first itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "procedural building interiors shown in 3D
QUARN generates the interior of a building from its outline. The outline is
drawn on a grid as closed rectilinear loops; a greedy floor designer grows
rooms cell by cell; the rooms become walls with doors and windows and floor
slabs, shown lit and textured through a fly-through camera. The design can
be stepped forward and back one decision at a time.
.
The package holds the application (quarn), the headless generator
(quarn-gen), which writes floor plans as JSON, SVG, PDF or PNG and 3D
scenes as glTF, OBJ or FBX, and quarn-render, which draws the 3D view into
PNG pictures without a display.")

# A shared library among the targets gets ldconfig run through dpkg's
# trigger once the package is installed.
function(quarn_find_shared_library dir result)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      set(${result} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  get_property(folders DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(folder IN LISTS folders)
    quarn_find_shared_library(${folder} found)
    if(found)
      set(${result} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${result} FALSE PARENT_SCOPE)
endfunction()
quarn_find_shared_library(${PROJECT_SOURCE_DIR} QUARN_HAS_SHARED_LIBRARY)
if(QUARN_HAS_SHARED_LIBRARY)
  file(WRITE ${PROJECT_BINARY_DIR}/dist/triggers "activate-noawait ldconfig\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/dist/triggers)
endif()

include(CPack)
