# Every target of the project builds with the same strict warning set.
function(torvek_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
endfunction()
