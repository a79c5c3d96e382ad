# The installed reader as a user gets it: `cmake --install` into a fresh prefix, then the
# installed program, whose own libraries must come from that prefix, lists its plug-in's
# registrations and stamps a sample with a standard stamp, which it can only find in the
# prefix's share folder; under a Chinese locale it speaks Chinese. Run by CTest with -DBUILD_DIR, -DPREFIX and -DSAMPLE.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE said)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${said}")
endif()

set(reader ${PREFIX}/bin/minireader)
execute_process(COMMAND ldd ${reader} OUTPUT_VARIABLE said)
string(FIND "${said}" "libreaderhost.so => ${PREFIX}/" at)
if(at LESS 0)
  message(FATAL_ERROR "the installed reader does not use its installed libraries:\n${said}")
endif()

# English texts, and the user's folders inside the prefix.
set(ENV{LANG} C.UTF-8)
unset(ENV{LC_ALL})
unset(ENV{LANGUAGE})
set(ENV{QT_QPA_PLATFORM} offscreen)
foreach(folder USER CONFIG TEMP)
  set(ENV{STAMPREADER_${folder}_DIR} ${PREFIX}/home/${folder})
endforeach()

execute_process(COMMAND ${reader} --list-registrations
                RESULT_VARIABLE code OUTPUT_VARIABLE listed ERROR_VARIABLE said)
if(NOT code EQUAL 0 OR NOT said MATCHES "loaded libstampannot.so")
  message(FATAL_ERROR "the plug-in was not loaded (${code}): ${said}")
endif()
foreach(line "operation ti_stamp" "tool tp_stamp" "annothandler StampEditHandler")
  if(NOT listed MATCHES "${line}\n")
    message(FATAL_ERROR "no '${line}' in:\n${listed}")
  endif()
endforeach()

get_filename_component(name ${SAMPLE} NAME)
execute_process(COMMAND ${reader} stamp --stamp round_seal -o ${PREFIX}/out ${SAMPLE}
                RESULT_VARIABLE code OUTPUT_VARIABLE said ERROR_VARIABLE errors)
if(NOT code EQUAL 0 OR NOT EXISTS ${PREFIX}/out/${name})
  message(FATAL_ERROR "stamping with a standard stamp failed (${code}): ${said}${errors}")
endif()

# The installed stamp maker finds the seal maker library in the prefix.
if(EXISTS ${PREFIX}/bin/customstamp)
  execute_process(COMMAND ${PREFIX}/bin/customstamp --auto --text "Installed Co." --size 40x30
                  RESULT_VARIABLE code OUTPUT_VARIABLE said ERROR_VARIABLE errors)
  file(GLOB made ${PREFIX}/home/USER/stamp/*.png)
  if(NOT code EQUAL 0 OR NOT made)
    message(FATAL_ERROR "the installed stamp maker made no stamp (${code}): ${said}${errors}")
  endif()
endif()

set(ENV{LANG} zh_CN.UTF-8)
execute_process(COMMAND ${reader} stamp OUTPUT_QUIET ERROR_VARIABLE said)
string(FIND "${said}" "没有输入文件" at)
if(at LESS 0)
  message(FATAL_ERROR "no Chinese message under LANG=zh_CN.UTF-8: ${said}")
endif()
