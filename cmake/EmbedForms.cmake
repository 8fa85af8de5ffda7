# Generates a C++ source holding every file FORM_DIR/NAME.form of a program as the
# text EmbeddedForm("NAME") returns (apps/EmbeddedForms.h). A program without a
# forms folder gets the function too, finding nothing.
# Invoked as a script: cmake -DOUTPUT=... -DFORM_DIR=... -P EmbedForms.cmake
file(GLOB files ${FORM_DIR}/*.form)
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(file ${files})
  get_filename_component(name ${file} NAME_WE)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," chars "${hex}")
  string(REGEX REPLACE "(('[^']+',){16})" "\\1\n" chars "${chars}")
  string(APPEND arrays "const char kForm${index}[] = {\n${chars}0};\n")
  string(APPEND entries "    {\"${name}\", std::string_view(kForm${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp "// Generated from the program's forms folder; do not edit.
#include \"EmbeddedForms.h\"

#include <utility>

namespace {
${arrays}
const std::pair<std::string_view, std::string_view> kForms[] = {
${entries}    {{}, {}},
};
} // namespace

namespace apps {
std::string_view EmbeddedForm(std::string_view name)
{
    for (const auto& [formName, text] : kForms)
        if (!formName.empty() && formName == name)
            return text;
    return {};
}
} // namespace apps
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
