# Tests of what ships beside the library: the demo's gallery, the Designer
# plugin, and a host project built against an installed copy. The demo and
# the plugin are defined after the tests, so they are named here by
# generator expressions, which resolve once every target exists.
if(TAVRIN_BUILD_EXAMPLES AND EXISTS ${PROJECT_SOURCE_DIR}/examples/CMakeLists.txt)
    find_package(${TAVRIN_QT} ${TAVRIN_QT_MIN} QUIET COMPONENTS UiPlugin)
    # Writes files and a picture for the comparison of the Qt 5 and Qt 6
    # builds; beside the test programs, where the translation lies.
    add_executable(tavrin_crossqt ${CMAKE_CURRENT_LIST_DIR}/crossqt_tool.cpp)
    target_link_libraries(tavrin_crossqt PRIVATE tavrin ${TAVRIN_QT}::Widgets)
    target_compile_options(tavrin_crossqt PRIVATE -Wall -Wextra)

    add_executable(tst_examples
        ${CMAKE_CURRENT_LIST_DIR}/tst_gallery.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tst_designerplugin.cpp
        ${CMAKE_CURRENT_LIST_DIR}/tst_crossqt.cpp)
    target_link_libraries(tst_examples PRIVATE tavrin_testmain ${TAVRIN_QT}::Svg)
    target_compile_options(tst_examples PRIVATE -Wall -Wextra)
    target_compile_definitions(tst_examples PRIVATE
        TAVRIN_DEMO_PATH="$<TARGET_FILE:tavrin-demo>")
    add_dependencies(tst_examples tavrin-demo tavrin_crossqt)
    target_compile_definitions(tst_examples PRIVATE
        TAVRIN_CROSSQT_TOOL="$<TARGET_FILE:tavrin_crossqt>")
    if(TAVRIN_QT_MAJOR STREQUAL "6")
        set(TAVRIN_QT5_BUILD_DIR ${PROJECT_SOURCE_DIR}/build CACHE PATH
            "A Qt 5 build of the same sources for the Qt 6 build's tests to compare with")
        target_compile_definitions(tst_examples PRIVATE TAVRIN_QT5_BUILD_DIR="${TAVRIN_QT5_BUILD_DIR}")
    endif()
    if(${TAVRIN_QT}UiPlugin_FOUND AND (NOT DEFINED TAVRIN_BUILD_DESIGNER_PLUGIN OR TAVRIN_BUILD_DESIGNER_PLUGIN))
        target_compile_definitions(tst_examples PRIVATE
            TAVRIN_DESIGNER_PLUGIN_PATH="$<TARGET_FILE:tavrin_designer>")
        target_link_libraries(tst_examples PRIVATE ${TAVRIN_QT}::UiPlugin)
        add_dependencies(tst_examples tavrin_designer)
    endif()
    add_test(NAME examples COMMAND tst_examples)
    set_tests_properties(examples PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TAVRIN_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
        TIMEOUT 300)
endif()

# A sanitizer build installs an instrumented library that a plain host cannot
# link; the package itself is the same, so the plain build checks it.
# The Qt 6 build installs itself beside the Qt 5 build, when there is one.
if(NOT TAVRIN_SANITIZE AND NOT TAVRIN_TSAN)
    add_test(NAME consumer
        COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/consumer.sh ${CMAKE_BINARY_DIR}
                ${PROJECT_SOURCE_DIR}/examples/consumer ${CMAKE_BINARY_DIR}/test-output/consumer
                "${TAVRIN_QT5_BUILD_DIR}")
    set_tests_properties(consumer PROPERTIES TIMEOUT 300)
endif()
