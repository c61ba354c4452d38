# GTK platform tests: the system helpers and the lock (no display needed); the start-up windows,
# the main window and themes on a real X display (the one in $DISPLAY, else a private Xvfb, with
# openbox started when no window manager runs); and the real runtime driven end to end.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# The content types the system registers, read through the base library's overlay.
velmora_add_test(platform_mime LABEL platform LIBS velmora_base
  SOURCES platform/gtk/MimeOverlayTest.cpp)

# The system's text rules as start-up meets them: unmarked settings text and the user language.
velmora_add_test(platform_text LABEL platform LIBS velmora_runtime
  SOURCES platform/gtk/SystemTextTest.cpp)

# No accessibility bus in tests; the desktop libraries' own end-of-process leaks are not ours.
set(_gtk_test_env "NO_AT_BRIDGE=1" "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp")

velmora_add_test(platform_gtk_system LABEL platform LIBS velmora_runtime
  SOURCES platform/gtk/SystemHelpersTest.cpp platform/gtk/SingleInstanceTest.cpp)
set_tests_properties(platform_gtk_system PROPERTIES ENVIRONMENT "${_gtk_test_env}")

# The registry store (SQLite, several processes at once) and command lines with their output.
velmora_add_test(platform_gtk_registry LABEL platform LIBS velmora_runtime
  SOURCES platform/gtk/RegistryStoreTest.cpp)
velmora_add_test(platform_gtk_shell LABEL platform LIBS velmora_runtime
  SOURCES platform/gtk/ShellCommandTest.cpp)
set_tests_properties(platform_gtk_registry platform_gtk_shell PROPERTIES ENVIRONMENT "${_gtk_test_env}")

# A test script of e2e/ driving the packed runtime on the shared display: it may start a window
# manager, so it takes turns with the other window tests.
function(velmora_add_gtk_e2e name script timeout)
  add_test(NAME ${name}
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${script}
            --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
            --artifacts ${CMAKE_BINARY_DIR}/test-artifacts)
  set_tests_properties(${name} PROPERTIES
    LABELS e2e TIMEOUT ${timeout} ENVIRONMENT "${_gtk_test_env}" RESOURCE_LOCK velmora_window_manager)
endfunction()

# Tests that may start a window manager of their own take turns with each other.
velmora_add_test(platform_gtk_windows LABEL platform LIBS velmora_runtime
  SOURCES platform/gtk/GtkTestDisplay.cpp platform/gtk/StartupDialogsTest.cpp
          platform/gtk/NativeMainWindowTest.cpp platform/gtk/ThemeApplyTest.cpp)
set_tests_properties(platform_gtk_windows PROPERTIES
  ENVIRONMENT "${_gtk_test_env}" RESOURCE_LOCK velmora_window_manager)

velmora_add_gtk_e2e(e2e_gtk_startup gtk_startup_test.py 600)

# The browser view in the real engine, in the test process: scheme, messages, new windows,
# permissions, running bar, closing.
velmora_add_test(platform_gtk_browser LABEL platform LIBS velmora_runtime
  SOURCES platform/gtk/GtkTestDisplay.cpp platform/gtk/BrowserViewTest.cpp)
set_tests_properties(platform_gtk_browser PROPERTIES
  ENVIRONMENT "${_gtk_test_env}" RESOURCE_LOCK velmora_window_manager)

# The browser view in the real engine: resources from the payload, bridge calls, closing.
velmora_add_gtk_e2e(e2e_gtk_browser gtk_browser_test.py 600)

# The page controls its window: every app and window operation read back from X under openbox.
velmora_add_gtk_e2e(e2e_gtk_window_ops gtk_window_ops_test.py 300)

# Web apps' files as a browser serves them: escaped names, wasm streaming, 404, ranges, media,
# downloads that ask, the console on standard error.
velmora_add_gtk_e2e(e2e_gtk_resources gtk_resources_test.py 300)

# Shell, system and registry operations through a packed page: real programs, X windows, logind
# and the file manager as stand-ins on a private D-Bus, the per-user registry store.
velmora_add_gtk_e2e(e2e_gtk_shell_registry gtk_shell_registry_test.py 600)
