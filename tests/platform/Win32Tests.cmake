# Windows platform tests, run under wine64 (and Xvfb for the windows): the system helpers and
# the lock against the real system, the start-up windows and the main window as real windows,
# and the real runtime driven end to end with xdotool.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The content types the system registers, read through the base library's overlay.
velmora_add_test(platform_mime LABEL platform LIBS velmora_base
  SOURCES platform/win32/MimeOverlayTest.cpp)

# The system's text rules as start-up meets them: unmarked settings text and the user language.
velmora_add_test(platform_text LABEL platform LIBS velmora_runtime
  SOURCES platform/win32/SystemTextTest.cpp)
# Wine fixes a process's user locale from LC_ALL at start: the user-language test runs again
# under chosen locales (locale;language code;message 3).
foreach(_case "de_DE.UTF-8;de;Akzeptieren" "pt_BR.UTF-8;pt;Accept")
  list(GET _case 0 _locale)
  list(GET _case 1 _code)
  list(GET _case 2 _accept)
  add_test(NAME platform_text_wine_${_code} COMMAND platform_text --gtest_filter=UserLanguage.*)
  set_tests_properties(platform_text_wine_${_code} PROPERTIES LABELS platform TIMEOUT ${VELMORA_UNIT_TIMEOUT}
    ENVIRONMENT "LC_ALL=${_locale};VELMORA_EXPECT_LANGUAGE=${_code};VELMORA_EXPECT_ACCEPT=${_accept}")
endforeach()

add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../support/loader ${CMAKE_CURRENT_BINARY_DIR}/support/loader)
add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../support/installer ${CMAKE_CURRENT_BINARY_DIR}/support/installer)
add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../support/inspector ${CMAKE_CURRENT_BINARY_DIR}/support/inspector)
add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/../support/windowstate ${CMAKE_CURRENT_BINARY_DIR}/support/windowstate)

velmora_add_test(platform_win32_system LABEL platform LIBS velmora_runtime
  SOURCES platform/win32/SystemHelpersTest.cpp platform/win32/SingleInstanceTest.cpp
          platform/win32/ChildProcess.cpp)
add_dependencies(platform_win32_system velmora_test_loader)
target_compile_definitions(platform_win32_system PRIVATE
  VELMORA_TEST_LOADER_PATH="${VELMORA_HOST_PATH_PREFIX}$<TARGET_FILE:velmora_test_loader>")

velmora_add_test(platform_win32_windows LABEL platform LIBS velmora_runtime
  SOURCES platform/win32/WindowProbe.cpp platform/win32/StartupDialogsTest.cpp
          platform/win32/EdgeInstallerFormTest.cpp platform/win32/NativeMainWindowTest.cpp
          platform/win32/ThemeApplyTest.cpp platform/win32/EdgeBrowserTest.cpp)
# The dialogs' images are resources of the executable.
velmora_add_resources(platform_win32_windows)
# Windows are tested under a window manager (one is started when the display has none).
set(_with_wm ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/../support/with_window_manager.py)
set_target_properties(platform_win32_windows PROPERTIES
  CROSSCOMPILING_EMULATOR "${_with_wm};${CMAKE_CROSSCOMPILING_EMULATOR}")
set_tests_properties(platform_win32_windows PROPERTIES RESOURCE_LOCK velmora_window_manager)

# A test script of e2e/ driving the packed runtime under Wine on the shared display, under a window
# manager; TOOLS are the arguments naming the helper programs it needs.
function(velmora_add_win32_e2e name script)
  cmake_parse_arguments(E "RUN_SERIAL" "TIMEOUT" "TOOLS" ${ARGN})
  add_test(NAME ${name}
    COMMAND ${_with_wm} ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/../e2e/${script}
            --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
            --emulator "${CMAKE_CROSSCOMPILING_EMULATOR}" --path-prefix "${VELMORA_HOST_PATH_PREFIX}"
            --artifacts ${CMAKE_BINARY_DIR}/test-artifacts ${E_TOOLS})
  set_tests_properties(${name} PROPERTIES LABELS e2e TIMEOUT ${E_TIMEOUT} RUN_SERIAL ${E_RUN_SERIAL}
    RESOURCE_LOCK velmora_window_manager)
endfunction()

# Alone: its boxes carry the same titles ("Error") that other tests look for on the display.
velmora_add_win32_e2e(e2e_win32_startup win32_startup_test.py TIMEOUT 900 RUN_SERIAL
  TOOLS --loader $<TARGET_FILE:velmora_test_loader> --installer $<TARGET_FILE:velmora_test_installer>
        --inspector $<TARGET_FILE:velmora_test_inspector>)

# The browser host against the recording browser stand-in (the test loader): the host's calls,
# resource answers, bridge replies, new windows, titles and the close handshake.
velmora_add_win32_e2e(e2e_win32_browser win32_browser_test.py TIMEOUT 300
  TOOLS --loader $<TARGET_FILE:velmora_test_loader>)

# The page controls its window: the app and window operations posted as messages to the runtime
# with the stand-in browser, each reply byte for byte, the window read back with Win32.
velmora_add_win32_e2e(e2e_win32_window_ops win32_window_ops_test.py TIMEOUT 300
  TOOLS --loader $<TARGET_FILE:velmora_test_loader> --window-state $<TARGET_FILE:velmora_test_window_state>)

# The shell and registry operations through the stand-in: Wine's registry (checked with
# `wine reg`), cmd.exe's output, Wine's windows.
velmora_add_win32_e2e(e2e_win32_shell_registry win32_shell_registry_test.py TIMEOUT 300
  TOOLS --loader $<TARGET_FILE:velmora_test_loader>)

# Escaped file names against the stand-in: the decoded lookup after the specified one.
velmora_add_win32_e2e(e2e_win32_resources win32_resources_test.py TIMEOUT 300
  TOOLS --loader $<TARGET_FILE:velmora_test_loader>)
