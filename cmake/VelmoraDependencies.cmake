# Third-party libraries, all from Debian packages (see scripts/setup-debian.sh).

# libzip: Debian's library natively; for Windows cross-built from Debian's source package and
# cached under the build folder (scripts/build-libzip-mingw.sh).
if(WIN32)
  set(_lz_prefix ${CMAKE_BINARY_DIR}/_deps/libzip)
  if(NOT EXISTS ${_lz_prefix}/lib/libzip.a)
    message(STATUS "Cross-building libzip for ${VELMORA_MINGW_TRIPLE}")
    execute_process(
      COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-libzip-mingw.sh ${VELMORA_MINGW_TRIPLE} ${_lz_prefix}
              ${CMAKE_SOURCE_DIR}/build/_deps/libzip-src
      RESULT_VARIABLE _lz_result)
    if(_lz_result)
      message(FATAL_ERROR "Cross-building libzip failed")
    endif()
  endif()
  find_library(VELMORA_MINGW_ZLIB NAMES libz.a z REQUIRED)
  add_library(velmora_libzip STATIC IMPORTED GLOBAL)
  set_target_properties(velmora_libzip PROPERTIES
    IMPORTED_LOCATION ${_lz_prefix}/lib/libzip.a
    INTERFACE_INCLUDE_DIRECTORIES ${_lz_prefix}/include
    INTERFACE_COMPILE_DEFINITIONS ZIP_STATIC
    INTERFACE_LINK_LIBRARIES ${VELMORA_MINGW_ZLIB})
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET GLOBAL libzip>=1.7)
  add_library(velmora_libzip ALIAS PkgConfig::LIBZIP)
endif()

# nlohmann/json is header-only; the MinGW builds use the same Debian headers through a folder
# that holds only them (the rest of /usr/include must stay out of a cross build).
add_library(velmora_json INTERFACE)
if(WIN32)
  set(_json_dir ${CMAKE_BINARY_DIR}/_deps/json-include)
  file(MAKE_DIRECTORY ${_json_dir})
  file(CREATE_LINK /usr/include/nlohmann ${_json_dir}/nlohmann SYMBOLIC)
  target_include_directories(velmora_json SYSTEM INTERFACE ${_json_dir})
else()
  find_package(nlohmann_json 3 REQUIRED)
  target_link_libraries(velmora_json INTERFACE nlohmann_json::nlohmann_json)
endif()

# GoogleTest from Debian's sources, so every preset (MinGW and the sanitizer build) gets its own.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)

if(NOT WIN32)
  find_package(benchmark REQUIRED)
  pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET GLOBAL gtk+-3.0)
  pkg_check_modules(WEBKIT REQUIRED IMPORTED_TARGET GLOBAL webkit2gtk-4.1)
  # The registry store, and the window list read from the X server.
  pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET GLOBAL sqlite3)
  pkg_check_modules(X11 REQUIRED IMPORTED_TARGET GLOBAL x11)
endif()
