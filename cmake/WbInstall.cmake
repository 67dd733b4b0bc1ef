# How a program is installed: its executable in bin/, its desktop entry, its
# icon in the hicolor theme (the SVG and PNGs rendered from it), read-only
# data in share/<name>/ and the README as documentation. Each program is an
# install component of its own, so each becomes a package of its own.
include(GNUInstallDirs)

set(WB_ICON_SIZES 16 24 32 48 64 128 256)
find_program(WB_RSVG_CONVERT rsvg-convert)
if(NOT WB_RSVG_CONVERT)
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the programs get their scalable "
                  "icons only, and their windows no icon (scripts/setup installs it)")
endif()

# wb_install_program(<target> NAME <name> [DATA <files...>] [MIME <package.xml>])
# The desktop entry and the icon are data/<name>/<name>.desktop and .svg.
function(wb_install_program target)
  cmake_parse_arguments(WI "" "NAME;MIME" "DATA" ${ARGN})
  set(name ${WI_NAME})
  set(src ${CMAKE_SOURCE_DIR}/data/${name})
  # The build tree gets the icon folders of an install, so a program started
  # from build/bin finds its icons as an installed one does.
  set(theme ${CMAKE_BINARY_DIR}/share/icons/hicolor)
  set(svg ${theme}/scalable/apps/${name}.svg)
  add_custom_command(OUTPUT ${svg}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src}/${name}.svg ${svg}
    DEPENDS ${src}/${name}.svg VERBATIM)
  set(icons ${svg})
  if(WB_RSVG_CONVERT)
    foreach(size ${WB_ICON_SIZES})
      set(png ${theme}/${size}x${size}/apps/${name}.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${theme}/${size}x${size}/apps
        COMMAND ${WB_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${src}/${name}.svg
        DEPENDS ${src}/${name}.svg VERBATIM)
      list(APPEND icons ${png})
    endforeach()
  endif()
  add_custom_target(${name}_icons ALL DEPENDS ${icons})
  add_dependencies(${target} ${name}_icons)

  # The same pictures built into the program as a Qt resource
  # (:/wb/icons/<name>/), so a copied binary without its icon folders still
  # shows its own icon rather than Qt's; tests link <name>_icon too.
  find_package(Qt6 REQUIRED COMPONENTS Core)
  add_library(${name}_icon OBJECT)
  set_source_files_properties(${icons} PROPERTIES GENERATED TRUE)
  qt_add_resources(${name}_icon ${name}_icon PREFIX /wb/icons/${name} BASE ${theme} FILES ${icons})
  add_dependencies(${name}_icon ${name}_icons)
  target_link_libraries(${target} PRIVATE ${name}_icon)

  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${name})
  install(FILES ${src}/${name}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT ${name})
  foreach(icon ${icons})
    file(RELATIVE_PATH rel ${theme} ${icon})
    get_filename_component(dir ${rel} DIRECTORY)
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${dir}
            COMPONENT ${name})
  endforeach()
  if(WI_DATA)
    install(FILES ${WI_DATA} DESTINATION ${CMAKE_INSTALL_DATADIR}/${name} COMPONENT ${name})
  endif()
  if(WI_MIME)
    install(FILES ${WI_MIME} DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
            RENAME ${name}.xml COMPONENT ${name})
  endif()
  install(FILES ${CMAKE_SOURCE_DIR}/README.md
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${name} COMPONENT ${name})

  # What Debian asks of a package: the copyright, a changelog (the
  # package's, as its version has a Debian revision) and a manual page,
  # compressed as the policy wants (gzip -9n, no time stamp); and the
  # AppStream description that software centres list the program by. The
  # packages are not uploaded to Debian, so no bug report asks for them: the
  # checker's override says so.
  set(docs ${CMAKE_BINARY_DIR}/doc/${name})
  set(WB_NAME ${name})
  set(WB_VERSION ${PROJECT_VERSION}-1)
  configure_file(${CMAKE_SOURCE_DIR}/data/changelog.in ${docs}/changelog @ONLY)
  add_custom_command(OUTPUT ${docs}/changelog.Debian.gz ${docs}/${name}.1.gz
    COMMAND gzip -9nc ${docs}/changelog > ${docs}/changelog.Debian.gz
    COMMAND gzip -9nc ${src}/${name}.1 > ${docs}/${name}.1.gz
    DEPENDS ${docs}/changelog ${src}/${name}.1)
  add_custom_target(${name}_docs ALL DEPENDS ${docs}/changelog.Debian.gz ${docs}/${name}.1.gz)
  install(FILES ${CMAKE_SOURCE_DIR}/data/copyright ${docs}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${name} COMPONENT ${name})
  file(WRITE ${docs}/lintian-overrides "${name}: initial-upload-closes-no-bugs\n")
  install(FILES ${docs}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME ${name} COMPONENT ${name})
  install(FILES ${docs}/${name}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${name})
  install(FILES ${src}/com.example.${name}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT ${name})
  set_property(GLOBAL APPEND PROPERTY WB_INSTALLED_PROGRAMS ${name})
endfunction()
