# `make package`: three Debian packages from the install rules' components:
# libquarn0 (the shared object), libquarn-dev (what building against it
# takes: header, unversioned link, pkg-config and CMake files) and quarn
# (the tools, their data and documentation), each with its dependencies
# found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The QUARN authors")
set(CPACK_PACKAGE_CONTACT "The QUARN authors <quarn@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL quarn libquarn libquarn-dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_QUARN_PACKAGE_NAME quarn)
set(CPACK_DEBIAN_QUARN_PACKAGE_SECTION graphics)
# What no linked library says: the GL and EGL libraries SDL loads at run
# time, the driver that draws on screen and offscreen, and the font the
# window's text is set in; and, though linked, the runtime of the navigation
# meshes (Recast and Detour), so the packages state it whatever they link.
set(CPACK_DEBIAN_QUARN_PACKAGE_DEPENDS
    "libgl1, libegl1, libgl1-mesa-dri, libegl-mesa0, fonts-dejavu-core, librecast1")

set(CPACK_DEBIAN_LIBQUARN_PACKAGE_NAME libquarn0)
set(CPACK_DEBIAN_LIBQUARN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBQUARN_PACKAGE_DEPENDS "librecast1")
# A shared library with a soname (only libquarn0 holds one) gets its shlibs
# entry, for programs built against it; the ldconfig trigger below updates
# the cache.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)

set(CPACK_DEBIAN_LIBQUARN-DEV_PACKAGE_NAME libquarn-dev)
set(CPACK_DEBIAN_LIBQUARN-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBQUARN-DEV_PACKAGE_DEPENDS "libquarn0 (= ${PROJECT_VERSION})")

# CPack indents the lines after the first itself.
set(QUARN_ABOUT "QUARN generates the interior of a building from its outline. The outline is
drawn on a grid as closed rectilinear loops; a greedy floor designer grows
rooms cell by cell; the rooms become walls with doors and windows and floor
slabs, shown lit and textured through a fly-through camera. The design can
be stepped forward and back one decision at a time.")
set(CPACK_DEBIAN_QUARN_DESCRIPTION "procedural building interiors shown in 3D
${QUARN_ABOUT}
.
The package holds the application (quarn), the headless generator
(quarn-gen), which writes floor plans as JSON, SVG, PDF or PNG and 3D
scenes as glTF, OBJ or FBX, and quarn-render, which draws the 3D view into
PNG pictures without a display.")
set(CPACK_DEBIAN_LIBQUARN_DESCRIPTION "procedural building interiors (C library)
${QUARN_ABOUT}
.
The package holds the shared library behind the C interface: it generates
the buildings of an outline and gives their rooms, walls and slabs as plain
data, or writes them as plans and 3D scenes.")
set(CPACK_DEBIAN_LIBQUARN-DEV_DESCRIPTION "procedural building interiors (C development files)
${QUARN_ABOUT}
.
The package holds what building a program against the C library takes:
the header, the pkg-config file and the CMake package files.")

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
  set(CPACK_DEBIAN_LIBQUARN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/dist/triggers)
endif()

include(CPack)
