# Put into the consumer's configure by the test consumer_architecture_ids
# (CMAKE_PROJECT_INCLUDE): the package read once with each spelling of the architecture that
# CMake gives, before the consumer's own find_package, which sees the compiler's own again.
set(_shipped i686 x86_64 X86 x64)
set(_refused aarch64 ARM64)
set(_compiler_id "${CMAKE_C_COMPILER_ARCHITECTURE_ID}")
foreach(_id IN LISTS _shipped _refused)
  set(CMAKE_C_COMPILER_ARCHITECTURE_ID ${_id})
  unset(optinfo_NOT_FOUND_MESSAGE)
  find_package(optinfo 1 CONFIG QUIET)
  if(_id IN_LIST _shipped AND NOT optinfo_FOUND)
    message(FATAL_ERROR "${_id}: not found: ${optinfo_NOT_FOUND_MESSAGE}")
  elseif(_id IN_LIST _refused AND NOT optinfo_NOT_FOUND_MESSAGE MATCHES
                                      "^optinfo is not shipped for this architecture: .* compiles for ${_id}$")
    message(FATAL_ERROR "${_id}: not refused with the message (found: ${optinfo_FOUND})")
  endif()
endforeach()
set(CMAKE_C_COMPILER_ARCHITECTURE_ID "${_compiler_id}")
list(JOIN _shipped " " _shipped)
list(JOIN _refused " " _refused)
message(STATUS "optinfo architectures: ${_shipped} found, ${_refused} refused")
