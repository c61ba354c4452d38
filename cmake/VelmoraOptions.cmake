# Compiler settings shared by every target of ours.
if(VELMORA_FUZZ)
  # Every library is instrumented for the fuzzer's coverage; the targets add its main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Unicode Win32 API; no min/max macros; Windows 7 API level and up.
  add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

# Warnings for our own code (not for third-party code built in this tree).
function(velmora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
