# Writes the desktop entry, the AppStream metainfo and the package texts from the program's
# version block, so that they describe the program in the words its program file carries.
# cmake -DVALUE_TOOL=<version-block-value> -DTEMPLATES=<dir> -DOUTPUT_DIR=<dir>
#       -DSUNDREL_APPSTREAM_ID=<id> -DSUNDREL_VERSION=<version> -DSUNDREL_RELEASE_DATE=<date>
#       -P WriteDescriptions.cmake

function(version_block_value key out)
  execute_process(COMMAND ${VALUE_TOOL} ${key}
                  OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0 OR value STREQUAL "")
    message(FATAL_ERROR "the version block gives no ${key} (${result})")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(capitalized text out)
  string(SUBSTRING "${text}" 0 1 first)
  string(SUBSTRING "${text}" 1 -1 rest)
  string(TOUPPER "${first}" first)
  set(${out} "${first}${rest}" PARENT_SCOPE)
endfunction()

function(xml_escaped text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

version_block_value(InternalName SUNDREL_NAME)
version_block_value(ProductName product)
version_block_value(CompanyName SUNDREL_DEVELOPER)
version_block_value(FileDescription description)

# The description begins with the product name; what follows it makes the one-line summary
# ("Sundrel Application: cuts a file ..." gives "Cuts a file ...").
set(SUNDREL_SUMMARY "${description}")
string(LENGTH "${product}" productLength)
string(FIND "${description}" "${product}" at)
if(at EQUAL 0)
  string(SUBSTRING "${description}" ${productLength} -1 SUNDREL_SUMMARY)
  string(REGEX REPLACE "^[:;, -]+" "" SUNDREL_SUMMARY "${SUNDREL_SUMMARY}")
endif()
string(REGEX REPLACE "[.]+$" "" SUNDREL_SUMMARY "${SUNDREL_SUMMARY}")
capitalized("${SUNDREL_SUMMARY}" SUNDREL_SUMMARY)

# A sentence for the long description.
set(SUNDREL_DESCRIPTION "${description}")
if(NOT SUNDREL_DESCRIPTION MATCHES "[.!?]$")
  string(APPEND SUNDREL_DESCRIPTION ".")
endif()

configure_file(${TEMPLATES}/sundrel.desktop.in ${OUTPUT_DIR}/sundrel.desktop @ONLY)
configure_file(${TEMPLATES}/CPackTexts.cmake.in ${OUTPUT_DIR}/CPackTexts.cmake @ONLY)
foreach(name SUNDREL_NAME SUNDREL_SUMMARY SUNDREL_DEVELOPER SUNDREL_DESCRIPTION)
  xml_escaped("${${name}}" ${name})
endforeach()
configure_file(${TEMPLATES}/sundrel.metainfo.xml.in
               ${OUTPUT_DIR}/${SUNDREL_APPSTREAM_ID}.metainfo.xml @ONLY)
