# The browser build (scripts/web.sh configures it with emscripten's toolchain):
# the layers, the game for a web page (the web platform) and the replay tool for
# node (headless). The libraries come from build/web-deps (scripts/web-deps.sh).

find_package(Python3 REQUIRED COMPONENTS Interpreter)
# The libraries are static: each brings the ones it needs (libpng zlib, vorbisfile vorbis and ogg).
set(PKG_CONFIG_ARGN --static)

# The media layer catches a failed allocation and a thread that cannot start
# (there are no threads in the page): exceptions are caught, not fatal
# (emscripten's JavaScript exceptions: the page's Asyncify cannot unwind
# WebAssembly's own; the node tool measured as fast with either).
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
# WebAssembly's 128-bit lanes (every browser and node of today): the pixel rows
# are drawn eight at a time, as on the desktop's baseline. Its memory copy and
# fill instructions: a copy no longer leaves WebAssembly for JavaScript.
add_compile_options(-msimd128 -mbulk-memory)
add_link_options(-mbulk-memory)
# What the C++20 library of emscripten's LLVM 14 lacks.
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${CMAKE_CURRENT_LIST_DIR}/WebCompat.h>")

# Clang takes no execution character set but UTF-8: each *Texts.cpp is compiled
# from a copy whose Japanese literals are written as their Shift-JIS bytes.
function(anagura_web_text_sources var)
  set(result)
  foreach(source ${${var}})
    if(source MATCHES "Texts\\.cpp$")
      file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${source})
      set(copy ${CMAKE_BINARY_DIR}/shift-jis/${relative})
      get_filename_component(folder ${copy} DIRECTORY)
      add_custom_command(OUTPUT ${copy}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/shift-jis-literals.py ${source} ${copy}
        DEPENDS ${source} ${CMAKE_SOURCE_DIR}/scripts/shift-jis-literals.py VERBATIM)
      list(APPEND result ${copy})
    else()
      list(APPEND result ${source})
    endif()
  endforeach()
  set(${var} ${result} PARENT_SCOPE)
endfunction()

function(anagura_web_targets)
  # The game: anagura.js and anagura.wasm, loaded by the page (src/media/web/page).
  # Its blocking main loop runs under Asyncify: a present waits for the
  # browser's next animation frame, a sleep yields to the browser.
  anagura_layer(anagura_media_web FOLDERS media/web PUBLIC anagura_media)
  add_executable(anagura ${CMAKE_SOURCE_DIR}/src/app/Main.cpp)
  target_link_libraries(anagura PRIVATE anagura_app anagura_media_web)
  # The page holds the start (run dependencies) until the player's storage and
  # the title's files are in; when the loop ends the runtime exits, so that the
  # media layer ends as on the desktop (its log's last lines).
  target_link_options(anagura PRIVATE -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency -sEXIT_RUNTIME=1 -lidbfs.js
    -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sINVOKE_RUN=1)


  # The replay tool for node: anagura-replay.js, its WebAssembly read beside it
  # (node-pre.js), the host's files as they are, the fonts of the web folder.
  file(GLOB replay_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/replay/*.cpp)
  add_executable(anagura-replay ${replay_sources})
  target_link_libraries(anagura-replay PRIVATE anagura_app anagura_media_headless)
  target_include_directories(anagura-replay PRIVATE ${CMAKE_SOURCE_DIR}/tools)
  set(pre ${CMAKE_SOURCE_DIR}/tools/replay/node-pre.js)
  target_link_options(anagura-replay PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node
    -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 --pre-js ${pre})
  set_target_properties(anagura-replay PROPERTIES LINK_DEPENDS ${pre})
endfunction()
