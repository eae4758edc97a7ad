# The sample pictures beside the executable, the installed layout for a desktop player, and the
# Debian package.
#
#   cmake --install build --prefix P   lays out
#     P/lib/kvadriko/kvadriko          the game, with the sample pictures beside it (the browser
#                                      opens on the program's own folder, found through
#                                      /proc/self/exe, so it sees them however it is started)
#     P/bin/kvadriko                   a relative symbolic link to it
#     P/share/applications/            the desktop entry
#     P/share/icons/hicolor/           the icon at 32 x 32 and 128 x 128
#     P/share/metainfo/                the AppStream description
#   cpack -G DEB (in the build folder) makes the .deb.

set(KV_APP_ID org.example.kvadriko)
file(GLOB KV_SAMPLES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/samples/*.jpg ${CMAKE_SOURCE_DIR}/samples/*.bmp
     ${CMAKE_SOURCE_DIR}/samples/*.gif)

if(TARGET kvadriko)
  # Copied into the build's program folder, so ./run opens on a folder of pictures.
  set(sample_copies)
  foreach(sample IN LISTS KV_SAMPLES)
    get_filename_component(name ${sample} NAME)
    set(copy ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name})
    add_custom_command(OUTPUT ${copy} COMMAND ${CMAKE_COMMAND} -E copy_if_different ${sample} ${copy}
                       DEPENDS ${sample} COMMENT "Sample picture ${name}" VERBATIM)
    list(APPEND sample_copies ${copy})
  endforeach()
  add_custom_target(kv_samples ALL DEPENDS ${sample_copies})
  add_dependencies(kvadriko kv_samples)

  install(TARGETS kvadriko RUNTIME DESTINATION lib/kvadriko)
  install(FILES ${KV_SAMPLES} DESTINATION lib/kvadriko)
  # The link is made in the build folder and installed as a link (relative, so it holds in any
  # prefix and inside the package).
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
  file(CREATE_LINK ../lib/kvadriko/kvadriko ${CMAKE_BINARY_DIR}/install-links/kvadriko SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/install-links/kvadriko DESTINATION bin)
  install(FILES packaging/${KV_APP_ID}.desktop DESTINATION share/applications)
  install(FILES packaging/${KV_APP_ID}.metainfo.xml DESTINATION share/metainfo)
  foreach(size 32 128)
    install(FILES packaging/icons/${size}x${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
            RENAME ${KV_APP_ID}.png)
  endforeach()

  if(KV_BUILD_TESTS)
    add_test(NAME InstalledLayout.ValidatesAndFindsTheSamples
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check_install.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR}
                     ${CMAKE_SOURCE_DIR})
  endif()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvadriko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Picture puzzle: cut a picture into pieces and put it together again")
set(CPACK_PACKAGE_CONTACT "KVADRIKO developers <info@kvadriko.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kvadriko.example.org/)
# Shared libraries found by dpkg-shlibdeps; beyond them Qt needs its platform plugins and the
# layout's faces resolve to these fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, fonts-dejavu-core")
include(CPack)
