# Generates a C++ source holding every file under RESOURCE_DIR/<TYPE>/ as resource
# <NAME> of type <TYPE>, where NAME is the file name without extension, upper-cased.
# Invoked as a script: cmake -DOUTPUT=... -DRESOURCE_DIR=... -P EmbedResources.cmake
file(GLOB type_dirs LIST_DIRECTORIES true ${RESOURCE_DIR}/*)
set(arrays "")
set(entries "")
set(index 0)
foreach(type_dir ${type_dirs})
  if(NOT IS_DIRECTORY ${type_dir})
    continue()
  endif()
  get_filename_component(type ${type_dir} NAME)
  file(GLOB files ${type_dir}/*)
  list(SORT files)
  foreach(file ${files})
    if(IS_DIRECTORY ${file})
      continue()
    endif()
    get_filename_component(name ${file} NAME_WE)
    string(TOUPPER ${name} name)
    file(READ ${file} hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
    string(APPEND arrays "alignas(4) const unsigned char kData${index}[] = {\n${bytes}0};\n")
    string(APPEND entries "    {\"${name}\", \"${type}\", kData${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
endforeach()
file(WRITE ${OUTPUT}.tmp "// Generated from the files under resources/; do not edit.
#include \"color/host/Resources.h\"

namespace {
${arrays}
const plx::TResourceEntry kEntries[] = {
${entries}    {nullptr, nullptr, nullptr, 0},
};
} // namespace

namespace plx {
const TResourceModule& PlumexModule() noexcept
{
    static const TResourceModule module { \"Plumex\", kEntries, ${index} };
    return module;
}
} // namespace plx
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
