# The bridge (dispatcher, replies, argument reader, events), resource serving and the browser
# view's rules; the payloads are written with velmora-pack's own writer. On Linux also the
# injected script and the WebKit shim under node.
velmora_add_test(unit_bridge LABEL unit
  SOURCES unit/BridgeTest.cpp unit/ResourceServingTest.cpp unit/BrowserFormTest.cpp
          ${CMAKE_SOURCE_DIR}/tools/pack/PayloadWriter.cpp)
target_include_directories(unit_bridge PRIVATE ${CMAKE_SOURCE_DIR}/tools/pack)
if(WIN32)
  target_sources(unit_bridge PRIVATE unit/CommandLineSplitWin32.cpp)
else()
  target_sources(unit_bridge PRIVATE unit/CommandLineSplitGtk.cpp)
endif()
# The start-up script test reads the bridge script from the executable's resources.
velmora_add_resources(unit_bridge)

if(NOT WIN32)
  find_program(VELMORA_NODE node)
  if(VELMORA_NODE)
    add_test(NAME js_bridge COMMAND ${VELMORA_NODE} --test ${CMAKE_CURRENT_SOURCE_DIR}/js/qmt-external.test.js)
    set_tests_properties(js_bridge PROPERTIES LABELS unit TIMEOUT 60)
  endif()
endif()
