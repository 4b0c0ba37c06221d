# CPack runs this on the staged bundle, before it archives it: SHA256SUMS over every file,
# in sha256sum's format, so that "sha256sum -c SHA256SUMS" checks the unpacked bundle.
set(root "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE files RELATIVE "${root}" "${root}/*")
list(REMOVE_ITEM files SHA256SUMS)
list(SORT files)
set(sums "")
foreach(file IN LISTS files)
  file(SHA256 "${root}/${file}" sum)
  string(APPEND sums "${sum}  ${file}\n")
endforeach()
file(WRITE "${root}/SHA256SUMS" "${sums}")
