# Product code builds with warnings as errors; tests and tools get the warnings without the errors.
function(corvane_product_target target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /utf-8 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Werror)
  endif()
endfunction()

function(corvane_tool_target target)
  if(NOT MSVC)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endif()
endfunction()
