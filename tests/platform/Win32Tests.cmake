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

add_test(NAME e2e_win32_startup
  COMMAND ${_with_wm} ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/../e2e/win32_startup_test.py
          --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
          --emulator "${CMAKE_CROSSCOMPILING_EMULATOR}" --path-prefix "${VELMORA_HOST_PATH_PREFIX}"
          --artifacts ${CMAKE_BINARY_DIR}/test-artifacts
          --loader $<TARGET_FILE:velmora_test_loader> --installer $<TARGET_FILE:velmora_test_installer>
          --inspector $<TARGET_FILE:velmora_test_inspector>)
# Alone: its boxes carry the same titles ("Error") that other tests look for on the display.
set_tests_properties(e2e_win32_startup PROPERTIES LABELS e2e TIMEOUT 900 RUN_SERIAL TRUE
  RESOURCE_LOCK velmora_window_manager)

# The browser host against the recording browser stand-in (the test loader): the host's calls,
# resource answers, bridge replies, new windows, titles and the close handshake.
add_test(NAME e2e_win32_browser
  COMMAND ${_with_wm} ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/../e2e/win32_browser_test.py
          --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
          --emulator "${CMAKE_CROSSCOMPILING_EMULATOR}" --path-prefix "${VELMORA_HOST_PATH_PREFIX}"
          --artifacts ${CMAKE_BINARY_DIR}/test-artifacts
          --loader $<TARGET_FILE:velmora_test_loader>)
set_tests_properties(e2e_win32_browser PROPERTIES LABELS e2e TIMEOUT 300
  RESOURCE_LOCK velmora_window_manager)

# The page controls its window: the app and window operations posted as messages to the runtime
# with the stand-in browser, each reply byte for byte, the window read back with Win32.
add_test(NAME e2e_win32_window_ops
  COMMAND ${_with_wm} ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/../e2e/win32_window_ops_test.py
          --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
          --emulator "${CMAKE_CROSSCOMPILING_EMULATOR}" --path-prefix "${VELMORA_HOST_PATH_PREFIX}"
          --artifacts ${CMAKE_BINARY_DIR}/test-artifacts
          --loader $<TARGET_FILE:velmora_test_loader> --window-state $<TARGET_FILE:velmora_test_window_state>)
set_tests_properties(e2e_win32_window_ops PROPERTIES LABELS e2e TIMEOUT 300
  RESOURCE_LOCK velmora_window_manager)

# The shell and registry operations through the stand-in: Wine's registry (checked with
# `wine reg`), cmd.exe's output, Wine's windows.
add_test(NAME e2e_win32_shell_registry
  COMMAND ${_with_wm} ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/../e2e/win32_shell_registry_test.py
          --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
          --emulator "${CMAKE_CROSSCOMPILING_EMULATOR}" --path-prefix "${VELMORA_HOST_PATH_PREFIX}"
          --artifacts ${CMAKE_BINARY_DIR}/test-artifacts
          --loader $<TARGET_FILE:velmora_test_loader>)
set_tests_properties(e2e_win32_shell_registry PROPERTIES LABELS e2e TIMEOUT 300
  RESOURCE_LOCK velmora_window_manager)

# Escaped file names against the stand-in: the decoded lookup after the specified one.
add_test(NAME e2e_win32_resources
  COMMAND ${_with_wm} ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/../e2e/win32_resources_test.py
          --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
          --emulator "${CMAKE_CROSSCOMPILING_EMULATOR}" --path-prefix "${VELMORA_HOST_PATH_PREFIX}"
          --artifacts ${CMAKE_BINARY_DIR}/test-artifacts
          --loader $<TARGET_FILE:velmora_test_loader>)
set_tests_properties(e2e_win32_resources PROPERTIES LABELS e2e TIMEOUT 300
  RESOURCE_LOCK velmora_window_manager)
