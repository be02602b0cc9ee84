# Debian packages: `cpack -G DEB` in a build directory configured with
# CMAKE_INSTALL_PREFIX=/usr (./scripts/package does it) makes a runtime and a
# development package of the Qt major that the build uses, cut along the
# install components "runtime" and "development". The Qt 6 packages carry the
# 6 of the files they hold (libtavrin6.so.1, include/tavrin6, ...), so the
# two sets install side by side.
set(CPACK_PACKAGE_NAME tavrin${TAVRIN_SUFFIX})
set(CPACK_PACKAGE_VENDOR "Tavrin")
set(CPACK_PACKAGE_CONTACT "Tavrin developers <tavrin@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chart widget library for Qt ${TAVRIN_QT_MAJOR}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries a binary links, found by dpkg-shlibdeps (dpkg-dev and
# file); the library itself, which no installed package has yet, is looked
# up in the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)

# Debian names a library package after its soname: libtavrin.so.1 is in
# libtavrin1, libtavrin6.so.1 in libtavrin6-1.
if(TAVRIN_SUFFIX)
    set(tavrin_runtime_package libtavrin${TAVRIN_SUFFIX}-${PROJECT_VERSION_MAJOR})
else()
    set(tavrin_runtime_package libtavrin${PROJECT_VERSION_MAJOR})
endif()
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${tavrin_runtime_package})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "Chart widget library for Qt ${TAVRIN_QT_MAJOR}\nLine, point, bar, candle, band and Gantt charts in one widget, with zoom, legend and exports.")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libtavrin${TAVRIN_SUFFIX}-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "Chart widget library for Qt ${TAVRIN_QT_MAJOR} (development files)\nHeaders, CMake package (find_package(${TAVRIN_PACKAGE})), pkg-config file (tavrin${TAVRIN_SUFFIX}) and the Qt Designer plugin.")
# The headers include Qt's, and the CMake package finds Qt's; Qt 6's CMake
# files also want OpenGL's headers.
if(TAVRIN_QT_MAJOR STREQUAL "6")
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev, libgl-dev")
else()
    set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qtbase5-dev")
endif()

include(CPack)

# What the packages hold, so that a packaging build makes that and not the
# demo or the tests (with CMAKE_SKIP_INSTALL_ALL_DEPENDENCY, cpack builds
# nothing itself).
add_custom_target(tavrin_packaged)
foreach(t tavrin tavrin_translations tavrin_designer)
    if(TARGET ${t})
        add_dependencies(tavrin_packaged ${t})
    endif()
endforeach()
