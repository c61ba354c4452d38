# The portable rules. The string, settings and payload tests link the base library alone.
velmora_add_test(unit_strings LABEL unit LIBS velmora_base velmora_json
  SOURCES unit/shared/TextTest.cpp unit/shared/StrUtilsTest.cpp unit/shared/StringHelpersTest.cpp
          unit/shared/MimeTypesTest.cpp unit/shared/HttpAnswerTest.cpp)

velmora_add_test(unit_settings LABEL unit LIBS velmora_base
  SOURCES unit/payload/ProjectSettingsTest.cpp unit/payload/StartupValuesTest.cpp)

velmora_add_test(unit_payload LABEL unit LIBS velmora_base
  SOURCES unit/payload/ExeUtilsTest.cpp unit/payload/PayloadReaderTest.cpp)
target_compile_definitions(unit_payload PRIVATE
  VELMORA_RUNTIME_PATH="${VELMORA_HOST_PATH_PREFIX}$<TARGET_FILE:VelmoraRuntime>")
add_dependencies(unit_payload velmora_fixtures VelmoraRuntime)

velmora_add_test(unit_startup LABEL unit LIBS velmora_runtime
  SOURCES unit/startup/LocalizedMessagesTest.cpp)

# The browser view's rules, resource serving and the window layout; payloads are written with
# velmora-pack's own writer, further windows' parameters parsed back by the platform's parser.
velmora_add_test(unit_browser LABEL unit LIBS velmora_runtime
  SOURCES unit/browser/BrowserFormTest.cpp unit/browser/ResourceServingTest.cpp
          unit/browser/WindowLayoutTest.cpp ${CMAKE_SOURCE_DIR}/tools/pack/PayloadWriter.cpp
          support/${VELMORA_PLATFORM}/CommandLineSplit.cpp)
target_include_directories(unit_browser PRIVATE ${CMAKE_SOURCE_DIR}/tools/pack)
# The start-up script test reads the bridge script from the executable's resources.
velmora_add_resources(unit_browser)

# The bridge: dispatcher, replies, argument reading, events, the families' operations and the
# style manager.
velmora_add_test(unit_bridge LABEL unit LIBS velmora_runtime
  SOURCES unit/bridge/BridgeTest.cpp unit/bridge/BridgeArgumentsTest.cpp unit/bridge/BridgeTrustTest.cpp
          unit/bridge/StylesUtilsTest.cpp unit/bridge/AppWindowOperationsTest.cpp)

# The injected script and the WebKit shim under node.
if(NOT WIN32)
  find_program(VELMORA_NODE node)
  if(VELMORA_NODE)
    add_test(NAME js_bridge COMMAND ${VELMORA_NODE} --test ${CMAKE_CURRENT_SOURCE_DIR}/js/qmt-external.test.js)
    set_tests_properties(js_bridge PROPERTIES LABELS unit TIMEOUT ${VELMORA_UNIT_TIMEOUT})
  endif()
endif()

# The layering the build relies on: folders include only those below them, no OS header in
# portable code, no conditional compilation, every contract header implemented on each platform.
# It reads the sources only, so one preset runs it.
if(NOT WIN32)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME layout_check COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/check-layout.py)
  set_tests_properties(layout_check PROPERTIES LABELS unit TIMEOUT ${VELMORA_UNIT_TIMEOUT})
endif()
