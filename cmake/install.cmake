# What `cmake --install` puts under the prefix: the tools, the ten textures
# the application finds beside its folder (bin/../share/quarn/tex), the
# desktop entry with the outline file type and the icon, the manual pages,
# the licence as the package's copyright file, and the examples.
include(GNUInstallDirs)
# Rules that name no component belong to the tools' package; the library's
# rules (src/capi) name theirs.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME quarn)

install(TARGETS quarn quarn-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# quarn-gen loads its writers module from the folder it really lives in, a
# private one; bin/ holds a link to it.
install(TARGETS quarn-gen RUNTIME DESTINATION libexec/quarn)
install(TARGETS quarn-gen-writers LIBRARY DESTINATION libexec/quarn)
install(CODE "file(CREATE_LINK ../libexec/quarn/quarn-gen
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quarn-gen\" SYMBOLIC)")

# The textures are written at build time by quarn-textures, so that the
# install step only copies files; not under share/, where an executable of
# the build tree would take them for installed ones.
set(QUARN_INSTALL_TEXTURES ${CMAKE_BINARY_DIR}/dist/tex)
set(QUARN_TEXTURE_NAMES grass concrete space1_up space1_dn space1_lf space1_rt space1_ft
                        space1_bk brick1 floor1)
list(TRANSFORM QUARN_TEXTURE_NAMES PREPEND ${QUARN_INSTALL_TEXTURES}/ OUTPUT_VARIABLE QUARN_TEXTURE_FILES)
list(TRANSFORM QUARN_TEXTURE_FILES APPEND .bmp)
add_custom_command(OUTPUT ${QUARN_TEXTURE_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUARN_INSTALL_TEXTURES}
  COMMAND quarn-textures ${QUARN_INSTALL_TEXTURES}
  DEPENDS quarn-textures
  COMMENT "Writing the textures to install")

# Manual pages and the changelog are installed compressed, without a
# timestamp in the gzip header so that two builds give the same bytes.
set(QUARN_DIST ${PROJECT_SOURCE_DIR}/dist)
set(QUARN_COMPRESSED)
foreach(source man/quarn.1 man/quarn-gen.1 man/quarn-render.1 changelog)
  get_filename_component(name ${source} NAME)
  set(compressed ${CMAKE_BINARY_DIR}/dist/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
    COMMAND gzip -9nc ${QUARN_DIST}/${source} > ${compressed}
    DEPENDS ${QUARN_DIST}/${source}
    VERBATIM)
  list(APPEND QUARN_COMPRESSED ${compressed})
endforeach()
add_custom_target(quarn_install_data ALL DEPENDS ${QUARN_TEXTURE_FILES} ${QUARN_COMPRESSED})

install(FILES ${QUARN_TEXTURE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quarn/tex)
install(FILES ${QUARN_DIST}/quarn.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUARN_DIST}/quarn.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${QUARN_DIST}/quarn.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
list(FILTER QUARN_COMPRESSED INCLUDE REGEX "\\.1\\.gz$")
install(FILES ${QUARN_COMPRESSED} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
# Each of the library's packages has its own documentation folder.
foreach(component libquarn libquarn-dev)
  set(package ${component})
  if(component STREQUAL "libquarn")
    set(package libquarn${PROJECT_VERSION_MAJOR})
  endif()
  install(FILES ${CMAKE_BINARY_DIR}/dist/changelog.gz COMPONENT ${component}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package})
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE COMPONENT ${component}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} RENAME copyright)
endforeach()
file(GLOB QUARN_EXAMPLES ${PROJECT_SOURCE_DIR}/examples/*.quarn)
install(FILES ${QUARN_EXAMPLES} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
