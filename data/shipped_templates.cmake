# The effect templates that ship in "试用模板": each row is a movie source of
# data/movies (without ".movie") and the template's file name (without
# ".avi"). This is the one list of them: the build of their movies and
# templates, and the header data/shipped_templates.h that the tests, the
# benchmarks and the contact sheet read, are derived from it.
set(VELMORA_SHIPPED_TEMPLATES
  "kenburns=试用模板"
  "cards=卡片飞舞"
  "filmstrip=胶片长廊")

set(VELMORA_SHIPPED_TEMPLATE_MOVIES)
set(_rows "")
foreach(row IN LISTS VELMORA_SHIPPED_TEMPLATES)
  string(REPLACE "=" ";" pair "${row}")
  list(GET pair 0 movie)
  list(GET pair 1 name)
  list(APPEND VELMORA_SHIPPED_TEMPLATE_MOVIES ${movie})
  string(APPEND _rows "    {\"${movie}\", \"${name}\"},\n")
endforeach()
list(LENGTH VELMORA_SHIPPED_TEMPLATES _count)

set(VELMORA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(CONFIGURE OUTPUT ${VELMORA_GENERATED_DIR}/data/shipped_templates.h CONTENT
"#pragma once
// Made by the build from data/shipped_templates.cmake: the effect templates
// that ship in \"试用模板\".
#include <array>
#include <string_view>

namespace shipped {

struct EffectTemplate {
    std::string_view movie;  // its compiled movie: template-movies/<movie>.swf
    std::string_view name;   // its file: 试用模板/<name>.avi
};

inline constexpr std::array<EffectTemplate, ${_count}> kEffectTemplates{{
${_rows}}};

}  // namespace shipped
" )
include_directories(${VELMORA_GENERATED_DIR})
