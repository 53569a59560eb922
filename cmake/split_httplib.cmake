# Splits cpp-httplib's single header into httplib.h (declarations) and httplib.cc (its code,
# compiled once) in OUT_DIR. The header marks its code with two border lines; the code keeps
# its namespace and loses its `inline`, as upstream's split.py writes it.
function(vardelle_split_httplib header out_dir)
  set(border "// ----------------------------------------------------------------------------\n")
  file(READ "${header}" whole)
  string(FIND "${whole}" "${border}" first)
  string(FIND "${whole}" "${border}" last REVERSE)
  if(first EQUAL -1 OR first EQUAL last)
    message(FATAL_ERROR "${header}: the two border lines around its code were not found")
  endif()
  string(LENGTH "${border}" border_length)
  math(EXPR code_start "${first} + ${border_length}")
  math(EXPR code_length "${last} - ${code_start}")
  math(EXPR tail_start "${last} + ${border_length}")
  string(SUBSTRING "${whole}" 0 ${first} declarations)
  string(SUBSTRING "${whole}" ${code_start} ${code_length} code)
  string(SUBSTRING "${whole}" ${tail_start} -1 tail)
  string(REPLACE "inline " "" code "${code}")
  # Written only when changed, so that a configure does not rebuild what includes them.
  file(CONFIGURE OUTPUT "${out_dir}/httplib.h" CONTENT "${declarations}${tail}" @ONLY)
  file(CONFIGURE OUTPUT "${out_dir}/httplib.cc"
       CONTENT "#include \"httplib.h\"\n\nnamespace httplib {\n${code}} // namespace httplib\n" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${header}")
endfunction()
