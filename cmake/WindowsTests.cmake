# Runs the cross-built Windows programs under Wine, each with a virtual X server of its own.
set(windows_build ${PROJECT_BINARY_DIR}/windows-${KESTROVA_WINE_ARCH})
set(run_under_wine sh ${PROJECT_SOURCE_DIR}/tests/window/win32/run_under_wine.sh
    ${KESTROVA_WINE} ${PROJECT_BINARY_DIR}/wineprefix)

# Wine sees the Unix file system as drive Z:.
function(windows_path unix_path out)
    string(REPLACE "/" "\\" path "${unix_path}")
    set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
windows_path(${windows_build}/window/win32/Kestrova.exe driven_exe)
windows_path(${KESTROVA_WINDOWS_EXE} shipped_exe)

add_test(NAME windows_exe_is_self_contained
    COMMAND sh ${PROJECT_SOURCE_DIR}/tests/window/win32/imports_test.sh ${KESTROVA_WINDOWS_EXE})
add_test(NAME windows_model COMMAND ${run_under_wine} ${windows_build}/tests/model_tests.exe)
add_test(NAME windows_form1 COMMAND ${run_under_wine} ${windows_build}/tests/form1_tests.exe)
add_test(NAME windows_window
    COMMAND ${run_under_wine} ${windows_build}/tests/window/win32/form1_win32_tests.exe
        ${driven_exe} --shipped=${shipped_exe})
add_test(NAME windows_window_comma_locale
    COMMAND ${run_under_wine} ${windows_build}/tests/window/win32/form1_win32_tests.exe
        --gtest_filter=*Starts*:*EntrySwitches*:*Random* ${driven_exe} --separator=, --storm=200)
set_tests_properties(windows_window_comma_locale PROPERTIES ENVIRONMENT LC_ALL=de_DE.UTF-8)
add_test(NAME windows_without_display
    COMMAND sh ${PROJECT_SOURCE_DIR}/tests/window/win32/without_display_test.sh ${KESTROVA_WINE}
        ${PROJECT_BINARY_DIR}/wineprefix ${windows_build}/window/win32/Kestrova.exe)
set_tests_properties(windows_model windows_form1 windows_window windows_window_comma_locale
    windows_without_display PROPERTIES RESOURCE_LOCK wine TIMEOUT 300)
