# Compiled translations next to the test programs, where a chart looks for
# them; the export tests check that the German one takes effect.
if(COMMAND tavrin_add_translations)
    tavrin_add_translations(tavrin_test_translations ${CMAKE_CURRENT_BINARY_DIR})
    if(TARGET tst_export AND TARGET tavrin_test_translations)
        add_dependencies(tst_export tavrin_test_translations)
    endif()
endif()

# Examples: the demo's gallery, the Designer plugin and an installed-package
# host (tests/examples).
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/examples/examples.cmake)
    include(${CMAKE_CURRENT_SOURCE_DIR}/examples/examples.cmake)
endif()

# The tests expect the untranslated texts, whatever the machine's language.
foreach(sub chart axes series legend export)
    if(TEST ${sub})
        set_property(TEST ${sub} APPEND PROPERTY ENVIRONMENT "LC_ALL=C" "LANGUAGE=")
    endif()
endforeach()

# The chart on a screen of twice the density: the series image must follow.
if(TARGET tst_chart AND NOT TAVRIN_TSAN)
    add_test(NAME chart-hidpi COMMAND tst_chart -class TestHiDpi)
    set_tests_properties(chart-hidpi PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2;TAVRIN_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
        TIMEOUT 300)
endif()
