# find_package(optinfo CONFIG): imported targets optinfo::optinfo_en and optinfo::optinfo_ja
# (English and Japanese dialog), with the header folder, the DLL and the import library for
# the consumer's architecture (32- or 64-bit) and toolchain (MinGW or MSVC-style).
if(NOT WIN32 OR NOT CMAKE_SIZEOF_VOID_P MATCHES "^[48]$")
  set(optinfo_FOUND FALSE)
  set(optinfo_NOT_FOUND_MESSAGE
      "optinfo is for Windows programs: enable C or C++ for a Windows target before find_package(optinfo)")
  return()
endif()

get_filename_component(_optinfo_root "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_optinfo_arch x64)
else()
  set(_optinfo_arch x86)
endif()
foreach(_optinfo_lang en ja)
  set(_optinfo_name optinfo_${_optinfo_lang})
  if(MINGW)
    set(_optinfo_implib lib${_optinfo_name}.dll.a)
  else()
    set(_optinfo_implib ${_optinfo_name}.lib)
  endif()
  if(NOT TARGET optinfo::${_optinfo_name})
    add_library(optinfo::${_optinfo_name} SHARED IMPORTED)
    set_target_properties(optinfo::${_optinfo_name} PROPERTIES
      IMPORTED_LOCATION "${_optinfo_root}/bin/${_optinfo_arch}/${_optinfo_name}.dll"
      IMPORTED_IMPLIB "${_optinfo_root}/lib/${_optinfo_arch}/${_optinfo_implib}"
      INTERFACE_INCLUDE_DIRECTORIES "${_optinfo_root}/include")
  endif()
endforeach()
unset(_optinfo_root)
unset(_optinfo_arch)
unset(_optinfo_lang)
unset(_optinfo_name)
unset(_optinfo_implib)
