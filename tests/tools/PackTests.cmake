# velmora-pack driven as a user would, with real peers (Info-ZIP unzip, Python's zipfile)
# checking what it writes. Under the Windows preset the tool runs through the emulator.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
add_test(NAME pack_cli
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tools/pack_test.py
          --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
          --emulator "${_emulator}" --path-prefix "${VELMORA_HOST_PATH_PREFIX}")
set_tests_properties(pack_cli PROPERTIES LABELS e2e TIMEOUT 300)

# The typed API (tools/pack/qmt.d.ts) against the bridge's table, with TypeScript from the setup
# script (build/typescript); natively only: the compiler does not depend on the target.
set(_tsc ${CMAKE_SOURCE_DIR}/build/typescript/node_modules/.bin/tsc)
if(NOT WIN32)
  add_test(NAME typed_api COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tools/typed_api_test.py --tsc ${_tsc})
  set_tests_properties(typed_api PROPERTIES LABELS unit TIMEOUT 300)
endif()
