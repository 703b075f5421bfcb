# The Debian packages: `cpack -G DEB` (or the build target `package`) in the build folder
# makes quendra_<version>_amd64.deb from the install rules (data/CMakeLists.txt,
# tools/plugins/CMakeLists.txt, tools/kio/CMakeLists.txt), with the dependencies
# dpkg-shlibdeps finds for the programs (QuendraPackageDepends.cmake.in), and, where the
# Python module is built, python3-quendra_<version>_amd64.deb from the install rules of the
# component `python` (tools/python/CMakeLists.txt). No maintainer scripts: Debian's
# triggers refresh the MIME, menu and icon caches, and the GdkPixbuf library's file trigger
# on its loaders folder rebuilds the loaders cache when the loader module comes or goes.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quendra)
set(CPACK_PACKAGE_VENDOR "The Quendra developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Each package's Description: its summary line, then the text below it.
set(CPACK_DEBIAN_UNSPECIFIED_DESCRIPTION "viewer and converter for Commodore 64 pictures
Quendra shows the picture files of Commodore 64 paint programs (Koala Painter,
Advanced Art Studio, Amica Paint, Doodle, FunPainter, Printfox, GoDot and more)
in the C64's sixteen colours and saves them as PNG, GIF, BMP, PCX, TIFF, JPEG
or GoDot 4Bit. The package also holds the batch converter quendra-convert and
quendra-thumbnailer, which shows previews of C64 pictures in file managers.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# One package per install component: the rules without one make the main package.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME quendra)
set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-quendra)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_DESCRIPTION "Commodore 64 pictures in Python and Pillow
The module quendra reads the picture files of Commodore 64 paint programs
(Koala Painter, Advanced Art Studio, Amica Paint, Doodle, FunPainter, Printfox,
GoDot and more) and the pictures on C64 disk and tape images, exactly as the
Quendra viewer shows them: palette indices, the palette and RGB pixels.
Importing quendra.pillow lets Pillow open them as palette images.")
set(CPACK_DEBIAN_PYTHON_PACKAGE_RECOMMENDS python3-pil)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUENDRA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(QUENDRA_PACKAGE_PROGRAMS "")
foreach(program quendra quendra-convert quendra-thumbnailer)
  list(APPEND QUENDRA_PACKAGE_PROGRAMS ${QUENDRA_BIN_DIR}/${program})
endforeach()
set(QUENDRA_PACKAGE_PYTHON_MODULE "")
if(TARGET quendra_python)
  set(QUENDRA_PACKAGE_PYTHON_MODULE $<TARGET_FILE:quendra_python>)
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/QuendraPackageDepends.cmake.in
               ${CMAKE_BINARY_DIR}/QuendraPackageDepends.cmake.configured @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/QuendraPackageDepends.cmake
     INPUT ${CMAKE_BINARY_DIR}/QuendraPackageDepends.cmake.configured)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/QuendraPackageDepends.cmake)
# Qt's TIFF reader, for the TIFF files the viewer opens by name.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-image-formats-plugins)
# GNOME's and the other GTK desktops' own file dialog for File > Open... (Qt takes it from
# this platform theme where the desktop is one of them).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${CPACK_DEBIAN_PACKAGE_RECOMMENDS}, qt6-gtk-platformtheme")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
