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
  set_property(GLOBAL APPEND PROPERTY WB_INSTALLED_PROGRAMS ${name})
endfunction()
