# The web page: vantel.html, one self-contained file, and what is shipped beside
# it (vantel.webmanifest, vantel-sw.js, vantel-192.png, vantel-512.png), in this
# folder's build folder beside the engine builds it inlines. Assembled by
# assemble.mjs (node, with esbuild from node_modules: scripts/deps web) from
# web/page/, the icons drawn by resources/icons/ and the help texts of
# resources/help/.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(VANTEL_NODE node REQUIRED)
if(NOT EXISTS ${PROJECT_SOURCE_DIR}/node_modules/esbuild/package.json)
  message(FATAL_ERROR "node_modules is missing: run scripts/deps web (npm ci)")
endif()

set(page_assets ${CMAKE_CURRENT_BINARY_DIR}/page-assets)
set(icons ${CMAKE_SOURCE_DIR}/resources/icons)
set(help ${CMAKE_SOURCE_DIR}/resources/help)
add_custom_command(
  OUTPUT ${page_assets}/icons.json ${page_assets}/vantel-192.png ${page_assets}/vantel-512.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${page_assets}
  COMMAND Python3::Interpreter ${icons}/make_page_icons.py ${page_assets}
  DEPENDS ${icons}/make_page_icons.py ${icons}/make_icons.py
  COMMENT "Drawing the page's icons")
add_custom_command(
  OUTPUT ${page_assets}/help.json
  COMMAND ${CMAKE_COMMAND} -E make_directory ${page_assets}
  COMMAND Python3::Interpreter ${help}/make_page_help.py ${page_assets}/help.json
  DEPENDS ${help}/make_page_help.py ${help}/make_help.py ${help}/help_en.py ${help}/help_es.py
  COMMENT "Writing the page's help texts")

file(GLOB page_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/page/*)
set(engines ${CMAKE_CURRENT_BINARY_DIR}/vantel-engine-simd.js ${CMAKE_CURRENT_BINARY_DIR}/vantel-engine.js)
set(page_outputs vantel.html vantel-sw.js vantel.webmanifest vantel-192.png vantel-512.png)
list(TRANSFORM page_outputs PREPEND ${CMAKE_CURRENT_BINARY_DIR}/)
add_custom_command(
  OUTPUT ${page_outputs}
  COMMAND ${VANTEL_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/assemble.mjs
          --engine-simd ${CMAKE_CURRENT_BINARY_DIR}/vantel-engine-simd.js
          --engine ${CMAKE_CURRENT_BINARY_DIR}/vantel-engine.js
          --icons ${page_assets} --help ${page_assets}/help.json --out ${CMAKE_CURRENT_BINARY_DIR}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/assemble.mjs ${page_sources} ${engines} ${VANTEL_ENGINE_TARGETS}
          ${page_assets}/icons.json ${page_assets}/help.json
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
  COMMENT "Assembling vantel.html")
add_custom_target(vantel-page ALL DEPENDS ${page_outputs})
