# Starts the shipped Windows programs under Wine, each width in a Wine prefix and with a virtual
# X server of its own; a width whose Wine cannot run here is checked as data and reported skipped.
foreach(arch ${KESTROVA_WINDOWS_WIDTHS})
    set(exe ${KESTROVA_WINDOWS_EXE_${arch}})
    set(name windows_${arch})
    set(tests ${PROJECT_BINARY_DIR}/windows-tests-${arch})
    add_test(NAME ${name}_exe COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/exe_test.sh ${exe}
        ${arch} $<$<BOOL:${KESTROVA_WINE_RUNS_${arch}}>:${tests}/window/win32/Kestrova.exe>)
    if(NOT KESTROVA_WINE_RUNS_${arch})
        add_test(NAME ${name}_started COMMAND sh -c
            "echo 'skipped: Wine cannot run ${arch} programs on this machine, so its Kestrova.exe is checked as data only'; exit 77")
        set_tests_properties(${name}_started PROPERTIES SKIP_RETURN_CODE 77)
        continue()
    endif()
    set(prefix ${PROJECT_BINARY_DIR}/wineprefix-${arch})
    set(run_under_wine sh ${CMAKE_CURRENT_LIST_DIR}/run_under_wine.sh
        ${KESTROVA_WINE_${arch}} ${prefix})
    set(driver ${run_under_wine} ${tests}/tests/window/win32/win32_window_tests.exe)
    add_test(NAME ${name}_form1 COMMAND ${run_under_wine} ${tests}/tests/form1_tests.exe)
    add_test(NAME ${name}_window COMMAND ${driver})
    add_test(NAME ${name}_window_comma_locale COMMAND ${driver} --gtest_filter=*AUser*)
    set_tests_properties(${name}_window_comma_locale PROPERTIES
        ENVIRONMENT "LC_ALL=de_DE.UTF-8;KESTROVA_EXPECT_SEPARATOR=,")
    set(started ${name}_window ${name}_window_comma_locale)
    # Started on screens of 125, 150 and 200 % (at 96 dpi above, with everything else).
    foreach(dpi 120 144 192)
        add_test(NAME ${name}_window_${dpi}_dpi COMMAND ${driver} --gtest_filter=*Scale*)
        set_tests_properties(${name}_window_${dpi}_dpi PROPERTIES ENVIRONMENT KESTROVA_DPI=${dpi})
        list(APPEND started ${name}_window_${dpi}_dpi)
    endforeach()
    set_property(TEST ${started} APPEND PROPERTY ENVIRONMENT KESTROVA_EXE=${exe})
    add_test(NAME ${name}_without_display COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/run_under_wine.sh
        --without-display ${KESTROVA_WINE_${arch}} ${prefix} ${exe})
    set_tests_properties(${name}_form1 ${started} ${name}_without_display PROPERTIES
        RESOURCE_LOCK wine-${arch} TIMEOUT 300)
endforeach()
