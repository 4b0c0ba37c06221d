# find_llvm_tool(VAR NAME): the LLVM tool NAME (llvm-dlltool, lld-link, ...). Debian's llvm
# and lld packages link it onto the PATH; each LLVM version also keeps it, unsuffixed, in
# /usr/lib/llvm-<version>/bin, which is searched next, newest first.
function(find_llvm_tool var name)
  file(GLOB dirs /usr/lib/llvm-*/bin)
  list(SORT dirs COMPARE NATURAL ORDER DESCENDING)
  find_program(${var} ${name} PATHS ${dirs} REQUIRED)
endfunction()
