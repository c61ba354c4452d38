# velmora-pack driven as a user would, with real peers (Info-ZIP unzip, Python's zipfile)
# checking what it writes. Under the Windows preset the tool runs through the emulator.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(_emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
add_test(NAME pack_cli
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/tools/pack_test.py
          --pack $<TARGET_FILE:velmora-pack> --runtime $<TARGET_FILE:VelmoraRuntime>
          --emulator "${_emulator}" --path-prefix "${VELMORA_HOST_PATH_PREFIX}")
set_tests_properties(pack_cli PROPERTIES LABELS e2e TIMEOUT 300)
