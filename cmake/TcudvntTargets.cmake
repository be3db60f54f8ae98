# Warnings and code rules of our own code.
set(TCUDVNT_WARNINGS -Wall -Wextra -Werror)

# A piece of the driver: no exceptions, no RTTI, hidden symbols.
function(tcudvnt_driver_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TCUDVNT_WARNINGS} -fno-exceptions -fno-rtti)
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
